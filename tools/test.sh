#!/usr/bin/env bash
# Installs what is missing, builds Qex with its tests, and runs the whole suite.
# Starts its own Xvfb when no display is set, so it also runs on a headless machine.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/display.sh

bash tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build

start_display_if_none
ctest --test-dir build --output-on-failure -j 2
