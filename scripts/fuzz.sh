#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (the "fuzz" preset, clang) and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 30] [build folder, default build-fuzz]
# New inputs found go to <build folder>/corpus-<target>; the committed seeds in fuzz/corpus stay
# as they are. A crash leaves its input in the build folder and fails the run.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
seconds=${1:-30}
build=${2:-$QUORLIN_ROOT/build-fuzz}
quorlin_install clang "${QUORLIN_BUILD_PACKAGES[@]}"
(cd "$QUORLIN_ROOT" && cmake --preset fuzz -B "$build" >/dev/null)
cmake --build "$build" --target fuzz_bellfile fuzz_droppedpicture
for target in bellfile:bell droppedpicture:picture; do
    name=fuzz_${target%%:*}
    seeds=$QUORLIN_ROOT/fuzz/corpus/${target##*:}
    mkdir -p "$build/corpus-$name"
    echo "== $name for ${seconds}s"
    log=$build/$name.log
    if ! (cd "$build" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
        "./$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
        "corpus-$name" "$seeds" >"$log" 2>&1); then
        tail -n 60 "$log"
        exit 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb' "$log"
done
