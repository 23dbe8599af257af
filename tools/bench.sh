#!/usr/bin/env bash
# Builds and runs the performance benchmark: the game's frame time against a clear+swap
# floor measured in the same run, the time of each step of a frame, heap allocations per
# frame, the resident size and the main thread's CPU share (see docs/performance.md).
# Starts its own Xvfb when no display is set. Arguments go to qex_bench, for example
#     bash tools/bench.sh --seconds 20    # a shorter scripted play while working
#     bash tools/bench.sh --long          # adds a resident-size run of four matches
# Run it at normal priority on an otherwise quiet machine; the ratios to the floor are
# what compare between machines and runs.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/display.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target qex_bench

QEX_SCREEN=1920x1200x24 start_display_if_none  # room for the 1920x1080 window
# The scripted match wins in seconds: its records, replays and settings stay out of the
# player's own folders.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null; true' EXIT  # the display's too
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"
cd build
./qex_bench "$@"
