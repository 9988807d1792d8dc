#!/usr/bin/env bash
# Sets up the machine, builds Korvane and runs every test: the default build with all
# labels, then the unit and client labels under AddressSanitizer+UBSan and ThreadSanitizer.
# KORVANE_PRESETS="default" limits the run to the listed presets.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

presets=${KORVANE_PRESETS:-"default asan-ubsan tsan"}
for preset in $presets; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: test"
  ctest --preset "$preset"
done
