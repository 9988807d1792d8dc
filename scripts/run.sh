#!/usr/bin/env bash
# Sets up the machine, builds Korvane and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/demo/korvane-demo "$@"
