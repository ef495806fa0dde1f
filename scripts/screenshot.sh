#!/usr/bin/env bash
# Renders the main window offscreen into docs/screenshot.png (needs a build with tests).
set -euo pipefail
cd "$(dirname "$0")/.."
ninja -C build vuma-screenshot > /dev/null
QT_QPA_PLATFORM=offscreen build/tests/vuma-screenshot docs/screenshot.png
echo "docs/screenshot.png written"
