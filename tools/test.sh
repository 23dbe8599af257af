#!/usr/bin/env bash
# Installs what is missing, builds Qex with its tests, and runs the whole suite.
# Starts its own Xvfb when no display is set, so it also runs on a headless machine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build

xvfb_pid=""
stop_xvfb() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap stop_xvfb EXIT
if [ -z "${DISPLAY:-}" ]; then
    display=90
    while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
    Xvfb ":${display}" -screen 0 1600x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
    export DISPLAY=":${display}"
fi

ctest --test-dir build --output-on-failure -j 2
