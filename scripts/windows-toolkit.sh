#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows toolkit Quorlin is cross-built with: Qt 6.4 (base and multimedia), libsndfile
# and a thai.dll (libthai with libdatrie inside) with its word dictionary, all for 64-bit Windows
# with mingw-w64, from Debian's own source packages. Everything lands in one folder outside the
# work tree, so that a machine builds it once:
#     ${QUORLIN_WINDOWS_TOOLKIT:-/var/cache/quorlin/windows-toolkit}
#         prefix/    what Quorlin builds against and ships (bin/, lib/, plugins/, share/thai/)
#         sources/   the source packages, unpacked and patched
#         build/     one build folder a step
#         done/      a file for every finished step
# A finished step is not done again; a step that stopped half-way goes on from where its build
# stopped. Sources come from Debian's archive only, through a private deb-src list that leaves
# the system's apt configuration alone. Run it again after a failure: it starts where it stopped.
# `--check` only says whether the toolkit is complete (exit status 0) or not (1); step names as
# arguments (sources qtbase qtmultimedia libsndfile thai) build only those.
set -euo pipefail

QUORLIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TOOLKIT=${QUORLIN_WINDOWS_TOOLKIT:-/var/cache/quorlin/windows-toolkit}
PREFIX=$TOOLKIT/prefix
SOURCES=$TOOLKIT/sources
BUILDS=$TOOLKIT/build
DONE=$TOOLKIT/done
WINDOWS_DIR=$QUORLIN_ROOT/packaging/windows
PATCHES=$WINDOWS_DIR/patches
MINGW_TOOLCHAIN=$WINDOWS_DIR/mingw-w64-x86_64.cmake
TRIPLE=x86_64-w64-mingw32
STEPS=(sources qtbase qtmultimedia libsndfile thai)

if [ "${1:-}" = --check ]; then
    for step in "${STEPS[@]}"; do
        [ -e "$DONE/$step" ] || exit 1
    done
    exit 0
fi

source "$QUORLIN_ROOT/scripts/setup.sh"

started=$SECONDS
say() { printf '[windows-toolkit %3d min] %s\n' $(((SECONDS - started) / 60)) "$*"; }

# A step runs unless it finished before; its time is written into its done file.
step() {
    local name=$1
    if [ -e "$DONE/$name" ]; then
        say "$name: already built ($(cat "$DONE/$name"))"
        return
    fi
    local t0=$SECONDS
    say "$name: building"
    "step_$name"
    mkdir -p "$DONE"
    echo "built in $(((SECONDS - t0) / 60)) min $(((SECONDS - t0) % 60)) s on $(date -u +%F)" \
        >"$DONE/$name"
    say "$name: done"
}

# --- sources -------------------------------------------------------------------------------------
# The source packages of Debian 12, fetched by apt-get through a list of our own, unpacked with
# Debian's patches applied, then with ours (packaging/windows/patches/<package>-*.patch).
APT_DIR=$TOOLKIT/apt
apt_private() {
    "$@" -o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$APT_DIR/sources.list.d" \
        -o Dir::State::Lists="$APT_DIR/lists" -o Dir::Cache="$APT_DIR/cache" \
        -o Dir::State::status=/var/lib/dpkg/status -o APT::Get::Only-Source=true
}
SOURCE_PACKAGES=(qt6-base qt6-multimedia libsndfile libthai libdatrie)
step_sources() {
    mkdir -p "$APT_DIR/sources.list.d" "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial" \
        "$SOURCES/downloads"
    # apt's download user must be able to write there.
    chown -R _apt "$APT_DIR/lists" "$SOURCES/downloads" 2>/dev/null || true
    cat >"$APT_DIR/sources.list.d/debian-sources.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt_private apt-get -qq update
    # Each file checked against the hash in Debian's signed index. The archive no longer serves
    # the Debian parts (.debian.tar.xz) of libthai and libdatrie; their original tarballs are
    # all this build takes of them.
    local uri file size hash
    while read -r uri file size hash; do
        uri=${uri//\'/}
        [ -s "$SOURCES/downloads/$file" ] && continue
        /usr/lib/apt/apt-helper -qq download-file "$uri" "$SOURCES/downloads/$file" "$hash" \
            || case $file in
                libthai_*.debian.tar.* | libdatrie_*.debian.tar.*) say "sources: no $file in the archive" ;;
                *) return 1 ;;
            esac
    done < <(apt_private apt-get -qq --print-uris source "${SOURCE_PACKAGES[@]}")
}

# Unpacks a source package with Debian's patches applied, then ours
# (packaging/windows/patches/<package>-*.patch), unless it already is with the same patches; a
# source unpacked anew gets a new build folder too.
unpack() {
    local pkg=$1 build=${2:-}
    local dir=$SOURCES/$pkg
    local patches=("$PATCHES/$pkg"-*.patch)
    [ -e "${patches[0]}" ] || patches=()
    local stamp
    stamp=$(cat /dev/null "${patches[@]}" | sha256sum | cut -d' ' -f1)
    [ "$(cat "$dir/.quorlin-patches" 2>/dev/null)" = "$stamp" ] && return
    rm -rf "$dir" "$dir.tmp"
    [ -z "$build" ] || rm -rf "$build"
    if ls "$SOURCES/downloads/${pkg}"_*.debian.tar.* >/dev/null 2>&1; then
        # Debian's own patches (security fixes among them) applied, as dpkg-source does.
        (cd "$SOURCES/downloads" &&
            dpkg-source --no-check -x "$(ls "${pkg}"_*.dsc | sort -V | tail -n1)" "$dir.tmp" \
                >/dev/null)
    else
        mkdir "$dir.tmp"
        tar -xf "$(ls "$SOURCES/downloads/${pkg}"_*.orig.tar.* | head -n1)" -C "$dir.tmp" \
            --strip-components=1
    fi
    local patch
    for patch in "${patches[@]}"; do
        say "$pkg: applying $(basename "$patch")"
        patch -d "$dir.tmp" -p1 --forward --quiet <"$patch"
    done
    echo "$stamp" >"$dir.tmp/.quorlin-patches"
    mv "$dir.tmp" "$dir"
}

# --- CMake builds --------------------------------------------------------------------------------
# Configures once (a half-built folder keeps its configuration), builds and installs.
cmake_step() {
    local name=$1 source=$2
    shift 2
    local build=$BUILDS/$name
    unpack "$source" "$build"
    mkdir -p "$BUILDS"
    local launcher=()
    command -v ccache >/dev/null &&
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Configured every time: a folder already built keeps what it built, and an option changed
    # here since reaches it.
    cmake "${launcher[@]}" -S "$SOURCES/$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$MINGW_TOOLCHAIN" -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" "$@" \
        >"$build.configure.log" 2>&1 || { tail -n 40 "$build.configure.log"; return 1; }
    # Ninja's own progress line, one a step, thinned to every 50th so that a log stays readable.
    cmake --build "$build" -- -j"$(nproc)" |
        awk '/^\[[0-9]+\/[0-9]+\]/ { n++; if (n % 50) next } { print; fflush() }'
    cmake --install "$build" >/dev/null
}

step_qtbase() {
    # Only what Quorlin and Qt Multimedia use: widgets, gui, core, network (Multimedia needs it),
    # test, PNG and JPEG pictures, the Windows platform plugin and the Windows styles. With ssl
    # off, Qt 6.4 still builds its Windows TLS plugin (schannel), which then fails to compile.
    cmake_step qtbase qt6-base \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DQT_BUILD_MANUAL_TESTS=OFF -DQT_GENERATE_SBOM=OFF -DQT_USE_CCACHE=OFF \
        -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_openssl=OFF -DINPUT_openssl=no -DFEATURE_ssl=OFF \
        -DFEATURE_schannel=OFF \
        -DFEATURE_jpeg=ON -DFEATURE_system_jpeg=OFF -DFEATURE_zstd=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_network=ON -DFEATURE_gui=ON -DFEATURE_widgets=ON \
        -DFEATURE_testlib=ON -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_glib=OFF -DFEATURE_icu=OFF \
        -DFEATURE_brotli=OFF -DFEATURE_libproxy=OFF -DFEATURE_sctp=OFF -DFEATURE_gssapi=OFF \
        -DFEATURE_pkg_config=OFF -DFEATURE_androiddeployqt=OFF -DFEATURE_sql_sqlite=OFF -DFEATURE_windeployqt=OFF
}

step_qtmultimedia() {
    local lib=/usr/$TRIPLE/lib
    # The sound output is all Quorlin uses: no FFmpeg, GStreamer or spatial audio. The host's
    # ShaderTools bake the video shaders at build time; Windows needs none of its own.
    cmake_step qtmultimedia qt6-multimedia \
        -DCMAKE_TOOLCHAIN_FILE="$PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$MINGW_TOOLCHAIN" \
        -DQt6ShaderTools_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6ShaderTools \
        -DQt6ShaderToolsTools_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6ShaderToolsTools \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_spatialaudio=OFF -DFEATURE_spatialaudio_quick3d=OFF -DFEATURE_ffmpeg=OFF \
        -DFEATURE_gstreamer=OFF -DFEATURE_wmf=ON \
        -DWMF_MF_LIBRARY=$lib/libmf.a -DWMF_MFUUID_LIBRARY=$lib/libmfuuid.a \
        -DWMF_MFPLAT_LIBRARY=$lib/libmfplat.a -DWMF_MFCORE_LIBRARY=$lib/libmfcore.a \
        -DWMF_PROPSYS_LIBRARY=$lib/libpropsys.a
}

step_libsndfile() {
    # WAV, AIFF and the other uncompressed formats; the external codecs (FLAC, Ogg, MP3) stay out.
    cmake_step libsndfile libsndfile \
        -DBUILD_SHARED_LIBS=ON -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF \
        -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF \
        -DENABLE_PACKAGE_CONFIG=ON -DINSTALL_PKGCONFIG_MODULE=ON
}

# libthai and libdatrie as one thai.dll, the name Qt's Windows font engine loads at run time for
# Thai word breaks (it asks for th_brk_new, th_brk_find_breaks, th_brk_delete and th_next_cell),
# with libthai's dictionary beside it (Debian's own, from libthai-data: the same bytes on every
# machine). Their autotools builds are not needed: the sources are a few dozen C files compiled
# together.
step_thai() {
    local datrie=$SOURCES/libdatrie thai=$SOURCES/libthai build=$BUILDS/thai
    unpack libdatrie
    unpack libthai
    rm -rf "$build"
    mkdir -p "$build/include/thai" "$build/include/datrie" "$PREFIX/bin" "$PREFIX/lib" \
        "$PREFIX/share/thai"
    cp "$datrie"/datrie/*.h "$build/include/datrie/"
    cp "$thai"/include/thai/*.h "$build/include/thai/"
    printf '#define VERSION "%s"\n' "$(sed -n 's/^AC_INIT(\[[^]]*\], *\[\([^]]*\)\].*/\1/p' \
        "$datrie/configure.ac" | head -n1)" >"$build/config.h"
    # The dictionary's folder compiled in is the Debian one; on Windows LIBTHAI_DICTDIR or the
    # working folder (Quorlin's installer puts thbrk.tri beside the program) find it.
    local sources=("$datrie"/datrie/*.c "$thai"/src/*/*.c)
    "$TRIPLE-gcc-posix" -O2 -shared -o "$build/thai.dll" -I"$build" -I"$build/include" \
        -I"$datrie" -I"$datrie/datrie" -I"$thai/src" -DHAVE_CONFIG_H \
        -DDICT_DIR='"."' "${sources[@]}" -Wl,--out-implib,"$build/libthai.dll.a" \
        -Wl,--output-def,"$build/thai.def" -static-libgcc
    cp "$build/thai.dll" "$PREFIX/bin/"
    cp "$build/libthai.dll.a" "$PREFIX/lib/"
    cp /usr/share/libthai/thbrk.tri "$PREFIX/share/thai/"
}

quorlin_install "${QUORLIN_WINDOWS_TOOLKIT_PACKAGES[@]}"
say "toolkit in $TOOLKIT"
if (($#)); then
    for name in "$@"; do
        step "$name"
    done
    exit 0
fi
for name in "${STEPS[@]}"; do
    step "$name"
done
say "complete: $(du -sh "$PREFIX" | cut -f1) installed in $PREFIX"
