# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by CPack from the install rules: `cmake --build <build> --target package`.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorlin)
set(CPACK_PACKAGE_VERSION ${QUORLIN_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorlin")
set(CPACK_PACKAGE_CONTACT "Quorlin volunteer team <packages@quorlin.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUORLIN_WEBSITE_URL}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Thai companion for reflective journaling")
# Line breaks are kept: dpkg shows the long description as written.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Quorlin accompanies a practice of reflective journaling, in Thai. It draws a"
    "journaling topic, an angel card or an obstacle card, each after a short"
    "contemplation, and rings a singing-bowl bell when the draw is revealed."
    "Guidance pages explain how to write and how to use the cards; reading pages"
    "tell about the program and the project behind it.")

# Installed like any Debian package, under /usr, the DEB generator's own prefix (setting it here
# would move the source tarball's contents under usr/ as well). CPack stages the files with the
# install prefix set to it, so the desktop entry names /usr paths, not CPack's scratch folder.

# The build's debug information names source and build folders; the package carries none, nor
# the compiler's version strings.
set(CPACK_STRIP_FILES ON)
set(CPACK_QUORLIN_STRIP ${CMAKE_STRIP})
list(APPEND CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/debian/strip-sections.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries the program and its sound-output module link come from dpkg-shlibdeps. These are the
# ones it needs without linking them: Qt's platform plugins (X11, which Wayland desktops offer
# through Xwayland; the Wayland plugin, recommended, serves one without it), libthai (loaded by Qt to break Thai lines between words), fonts with Thai glyphs, and the sound-server client Qt
# Multimedia plays through, which talks to PulseAudio and to PipeWire's PulseAudio service alike.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libthai0, libpulse0, fonts-noto-core, fonts-noto-ui-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, qt6-wayland")

# The package's changelog, its copyright file naming the licence of each part of the source, and
# the lintian tags it overrides, each with its reason. Only the Debian package carries them; CPack
# installs them with a script of its own while it stages the package.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/debian/copyright.in debian/copyright @ONLY)
quorlin_gzip(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog debian/changelog.Debian.gz)
set(CPACK_QUORLIN_DEBIAN_DOCS ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright
    ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian.gz)
set(CPACK_QUORLIN_DEBIAN_OVERRIDES ${CMAKE_CURRENT_SOURCE_DIR}/debian/lintian-overrides)
list(APPEND CPACK_INSTALL_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/debian/install-docs.cmake)

# `package_source` makes one tarball of the sources, without history, build folders or anything
# else .gitignore names. In a git worktree the history is a `.git` file, not a folder.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME quorlin-${QUORLIN_PACKAGE_VERSION})
# CPack matches these against whole paths, so the folders at the top are anchored at the source
# folder: a checkout that itself lies under some build/ folder must still be packed. The source
# folder's path is escaped for the regular expression, and each backslash doubled again, since
# CPack writes the patterns into its configuration file as they are.
string(REGEX REPLACE "([][.*+?^$()|{}\\\\])" "\\\\\\\\\\1" root "${PROJECT_SOURCE_DIR}")
set(CPACK_SOURCE_IGNORE_FILES "^${root}/(build|build-[^/]*|\\\\.cache)/"
    "/\\\\.git(/|$)" "/__pycache__/" "\\\\.user$")

include(CPack)
