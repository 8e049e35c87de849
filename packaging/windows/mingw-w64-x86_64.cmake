# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads), used for the Windows
# toolkit and, chained from Qt's own toolchain file, for Quorlin itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(QUORLIN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORLIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORLIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORLIN_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${QUORLIN_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUORLIN_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from mingw's sysroot and from the toolkit's prefix (appended by
# whoever includes this file through CMAKE_FIND_ROOT_PATH); programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${QUORLIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
