#!/usr/bin/env bash
# Repaints the skin's pictures (skin/imgs/*.png) and the icon (resources/korvane.ico).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target korvane-paint-skin
build/default/skin/tools/korvane-paint-skin skin/imgs resources/korvane.ico
