#!/usr/bin/env bash
# Renders the main window offscreen, with the simulated device's logs, into docs/: the three
# chart tabs (screenshot.png, screenshot-rate.png, screenshot-both.png). Needs a build with tests.
set -euo pipefail
cd "$(dirname "$0")/.."
ninja -C build vuma-screenshot > /dev/null
export QT_QPA_PLATFORM=offscreen
build/tests/vuma-screenshot docs/screenshot.png --logs --tab 0
build/tests/vuma-screenshot docs/screenshot-rate.png --logs --tab 1
build/tests/vuma-screenshot docs/screenshot-both.png --logs --tab 2
echo "docs/screenshot*.png written"
