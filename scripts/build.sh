#!/usr/bin/env bash
# Configures and builds into build/ (Release). Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" > build-configure.log 2>&1 || { cat build-configure.log; exit 1; }
rm -f build-configure.log
ninja -C build -j "$(nproc)"
