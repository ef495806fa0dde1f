#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Without arguments it runs on the
# built-in simulated device (--demo); give a log file to open it, or any of vuma's arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DVUMA_BUILD_TESTS=OFF -DVUMA_BUILD_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: set DISPLAY (or run under xvfb-run) to see the window." >&2
fi
if [ $# -eq 0 ]; then
    exec build/vuma --demo
fi
exec build/vuma "$@"
