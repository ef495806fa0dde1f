#!/usr/bin/env bash
# Builds in Release and runs every benchmark program, printing its results.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DVUMA_BUILD_TESTS=OFF -DVUMA_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" "$@"
done
