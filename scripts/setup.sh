#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up for ./run, ./test and ./package: installs the Debian packages Quorlin needs (only
# those missing, in one apt-get call) and builds into build/. Source it; it defines quorlin_setup.
set -euo pipefail

QUORLIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORLIN_BUILD=${QUORLIN_BUILD:-$QUORLIN_ROOT/build}

# To build (libpng for the generator of the built-in pictures).
QUORLIN_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev
    libsndfile1-dev libpng-dev)
# To run: Qt's libraries and platform plugins (X11, and Wayland for a Wayland desktop without
# Xwayland), Thai word breaking (Qt loads libthai at run time; without it Thai lines break in the
# middle of words), the sound decoder, and Thai-capable fonts.
QUORLIN_RUNTIME_PACKAGES=(libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins qt6-wayland libthai0
    libsndfile1 fonts-noto-core fonts-noto-ui-core pulseaudio-utils)
# To build the Debian package: CPack finds the packages of the linked libraries with
# dpkg-shlibdeps, which needs file to tell programs from data.
QUORLIN_PACKAGING_PACKAGES=(dpkg-dev file)
# To test as a person would: an X server with a window manager, a Wayland compositor with
# Xwayland, a mouse and keyboard driver, a sound server with a recorder, tools to look at pictures
# and sounds, and a system call tracer to see what the program writes and reaches; to test the
# install, the package tools, the validators of the desktop entry and the software-centre
# metadata, Debian's package checker and the manual page formatter; git lists the source files
# whose licence line is checked; and the handwriting face the picture generator writes the
# journal pages in, so that the test that runs it again can compare its pictures with the
# committed ones.
QUORLIN_TEST_PACKAGES=(xvfb openbox weston xwayland xdotool x11-utils pulseaudio pulseaudio-utils python3 dbus at-spi2-core python3-pyatspi libthai0
    imagemagick sox strace "${QUORLIN_PACKAGING_PACKAGES[@]}" desktop-file-utils appstream lintian
    man-db git fonts-tlwg-purisa-otf)
# To build the Windows toolkit (scripts/windows-toolkit.sh) and cross-build Quorlin with it: the
# mingw-w64 compilers, the host's Qt tools and shader baker, dpkg-source to unpack Debian's sources
# and libthai's dictionary.
QUORLIN_WINDOWS_TOOLKIT_PACKAGES=(cmake ninja-build g++ pkg-config dpkg-dev patch
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools
    qt6-shader-baker qt6-shadertools-dev libthai-data debian-archive-keyring)
# To build the Windows installer: NSIS. To test the Windows build: 64-bit wine (and GStreamer's
# base plugins, which wine's Media Foundation uses to convert sample formats), an X server with
# a window manager and tools to look at it, a sound server with a recorder, and the fonts.
QUORLIN_WINDOWS_PACKAGING_PACKAGES=(nsis)
QUORLIN_WINDOWS_TEST_PACKAGES=(wine wine64 gstreamer1.0-plugins-base xvfb xauth openbox xdotool x11-utils
    imagemagick pulseaudio pulseaudio-utils python3 fonts-noto-core fonts-noto-ui-core)

quorlin_install() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

# quorlin_setup [with-tests | with-packaging | with-bench] [extra cmake arguments...]
# Configures with a preset of CMakePresets.json: "ci" with the tests (and what they need),
# "bench" with the benchmarks, "default" otherwise.
quorlin_setup() {
    local packages=("${QUORLIN_BUILD_PACKAGES[@]}" "${QUORLIN_RUNTIME_PACKAGES[@]}")
    local preset=default testing=OFF
    if [ "${1:-}" = with-tests ]; then
        packages+=("${QUORLIN_TEST_PACKAGES[@]}")
        preset=ci testing=ON
        shift
    elif [ "${1:-}" = with-packaging ]; then
        packages+=("${QUORLIN_PACKAGING_PACKAGES[@]}")
        shift
    elif [ "${1:-}" = with-bench ]; then
        packages+=(pulseaudio pulseaudio-utils)
        preset=bench
        shift
    fi
    quorlin_install "${packages[@]}"
    (cd "$QUORLIN_ROOT" &&
        cmake --preset "$preset" -B "$QUORLIN_BUILD" -DBUILD_TESTING=$testing "$@" >/dev/null)
    cmake --build "$QUORLIN_BUILD"
}

# quorlin_windows_setup [with-tests] [extra cmake arguments...]: builds the Windows toolkit where it
# is missing (scripts/windows-toolkit.sh: the first time about an hour), then cross-builds Quorlin
# for 64-bit Windows with it into build-windows/ (or $QUORLIN_WINDOWS_BUILD).
QUORLIN_WINDOWS_BUILD=${QUORLIN_WINDOWS_BUILD:-$QUORLIN_ROOT/build-windows}
quorlin_windows_setup() {
    local packages=("${QUORLIN_WINDOWS_TOOLKIT_PACKAGES[@]}" "${QUORLIN_WINDOWS_PACKAGING_PACKAGES[@]}")
    local testing=OFF
    if [ "${1:-}" = with-tests ]; then
        packages+=("${QUORLIN_WINDOWS_TEST_PACKAGES[@]}")
        testing=ON
        shift
    fi
    quorlin_install "${packages[@]}"
    "$QUORLIN_ROOT/scripts/windows-toolkit.sh" --check || "$QUORLIN_ROOT/scripts/windows-toolkit.sh"
    local toolkit=${QUORLIN_WINDOWS_TOOLKIT:-/var/cache/quorlin/windows-toolkit}/prefix
    local werror=OFF
    [ "${CI:-}" = true ] && werror=ON
    cmake -S "$QUORLIN_ROOT" -B "$QUORLIN_WINDOWS_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$toolkit/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$QUORLIN_ROOT/packaging/windows/mingw-w64-x86_64.cmake" \
        -DCMAKE_FIND_ROOT_PATH="$toolkit" -DBUILD_TESTING=$testing -DQUORLIN_BUILD_BENCH=OFF \
        -DQUORLIN_WERROR=$werror "$@" >/dev/null
    cmake --build "$QUORLIN_WINDOWS_BUILD"
}
