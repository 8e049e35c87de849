# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack while it stages a package (CPACK_INSTALL_SCRIPTS): gives the Debian package its
# changelog and its machine-readable copyright file, in the documentation folder where Debian
# wants them, and its lintian overrides. Packages of other kinds get none of them; a plain
# `cmake --install` never runs this.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
# CPack stages a Debian package with DESTDIR set, which file(INSTALL) puts before these paths.
set(share "${CPACK_PACKAGING_INSTALL_PREFIX}/share")
file(INSTALL ${CPACK_QUORLIN_DEBIAN_DOCS} DESTINATION "${share}/doc/${CPACK_PACKAGE_NAME}")
file(INSTALL "${CPACK_QUORLIN_DEBIAN_OVERRIDES}" DESTINATION "${share}/lintian/overrides"
     RENAME ${CPACK_PACKAGE_NAME})
