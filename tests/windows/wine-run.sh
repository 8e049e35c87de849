#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a cross-built Windows program under 64-bit wine, as CTest's emulator for the Windows
# build: `wine-run.sh program.exe [arguments...]`. The program finds Qt, libsndfile, thai.dll and
# mingw's runtime through WINEPATH, libthai's dictionary through LIBTHAI_DICTDIR, and, under the
# offscreen platform, the fonts the suites expect through QT_QPA_FONTDIR.
#   QUORLIN_WINDOWS_TOOLKIT  the toolkit (default /var/cache/quorlin/windows-toolkit)
#   WINEPREFIX               the wine prefix (default: wine/ beside the running program's build)
set -euo pipefail

toolkit=${QUORLIN_WINDOWS_TOOLKIT:-/var/cache/quorlin/windows-toolkit}/prefix
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$(readlink -f "$1")

# The build folder is the nearest folder up from the program that holds CMakeCache.txt.
build=$(dirname "$program")
while [ "$build" != / ] && [ ! -e "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
export WINEPREFIX=${WINEPREFIX:-$build/wine}
export WINEARCH=win64
# Debian keeps the 64-bit loader out of PATH.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
export wine64
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop menu entries, and no offer to install wine's Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# The prefix is made once, by whichever suite comes first.
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    flock "$build/.wine.lock" bash -c \
        '[ -e "$WINEPREFIX/system.reg" ] || { "$wine64" wineboot --init && wineserver -w; } >/dev/null 2>&1'
fi

# Windows paths of host folders: wine's Z: drive is the host's root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
WINEPATH="$(windows_path "$toolkit/bin");$(windows_path "$gcc_runtime");$(windows_path "$pthread_runtime")"
export WINEPATH
export LIBTHAI_DICTDIR=$toolkit/share/thai

# The fonts the suites compare against, in a folder of their own (Qt's offscreen platform on
# Windows reads every font in the folder it is given).
fonts=$build/wine-fonts
if [ ! -d "$fonts" ]; then
    mkdir -p "$fonts.tmp"
    find /usr/share/fonts/truetype/noto \( -name 'NotoSans-Regular.ttf' -o -name 'NotoSans-Bold.ttf' \
        -o -name 'NotoSansThai-*.ttf' -o -name 'NotoSansThaiUI-*.ttf' \) -exec ln -sf {} "$fonts.tmp/" \;
    mv "$fonts.tmp" "$fonts"
fi
export QT_QPA_FONTDIR=$(windows_path "$fonts")

# The source folder the suites read from, as a Windows path: a bare /path would be taken on the
# drive of the working folder of the moment, and the window suites work in temporary folders on C:.
[ -z "${QUORLIN_SOURCE_DIR:-}" ] || QUORLIN_SOURCE_DIR=$(windows_path "$QUORLIN_SOURCE_DIR")

# Qt's messages (warnings, fatal errors) go to standard error rather than to the Windows debugger,
# where CTest would never show them.
export QT_FORCE_STDERR_LOGGING=1

# Wine keeps host variables whose names start with QT_ from the program; it passes WINEQT_... on
# under the name without WINE.
while IFS='=' read -r name _; do
    export "WINE$name=${!name}"
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=' || true)

exec "$wine64" "$program" "${@:2}"
