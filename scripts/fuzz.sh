#!/usr/bin/env bash
# Builds one libFuzzer target with clang under ASan/UBSan and runs it.
#   scripts/fuzz.sh TARGET SECONDS     e.g. scripts/fuzz.sh vul 600
# New inputs go to build-fuzz/corpus-TARGET; the saved seeds in fuzz/corpus/TARGET are read only.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: scripts/fuzz.sh TARGET SECONDS}"
seconds="${2:-60}"
scripts/deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVUMA_FUZZ=ON -DVUMA_SANITIZE=ON \
    -DVUMA_BUILD_TESTS=OFF -DVUMA_BUILD_BENCH=OFF > /dev/null
ninja -C build-fuzz "fuzz_$target"
mkdir -p "build-fuzz/corpus-$target" "fuzz/corpus/$target"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
exec "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    "build-fuzz/corpus-$target" "fuzz/corpus/$target"
