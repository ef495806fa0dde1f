#!/usr/bin/env bash
# Installs what is missing, builds everything (program, tests, benchmarks) and runs the tests.
#   scripts/test.sh             Release build in build/
#   scripts/test.sh --sanitize  the whole suite under AddressSanitizer and UBSan in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

dir=build
args=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    args=(-DCMAKE_BUILD_TYPE=Debug -DVUMA_SANITIZE=ON -DVUMA_BUILD_BENCH=OFF)
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$dir" -G Ninja "${args[@]}" > "$dir-configure.log" 2>&1 || { cat "$dir-configure.log"; exit 1; }
rm -f "$dir-configure.log"
ninja -C "$dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 300
