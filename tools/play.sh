#!/usr/bin/env bash
# Installs what is missing, builds Qex and starts it from the build tree, where the
# executable finds its assets/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DQEX_BUILD_TESTS=OFF
cmake --build build --target qex
cd build
exec ./qex
