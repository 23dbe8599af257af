#!/usr/bin/env bash
# Fuzzes one of the parsers of files that players pass around, the DDS reader or the replay
# reader, with libFuzzer under AddressSanitizer and UBSan for a bounded time. Needs clang++
# (set CLANGXX to pick one). Exits non-zero on the first crash, leak, undefined behaviour or
# broken invariant; the failing input is left in the work folder.
# Usage: tools/fuzz.sh <dds|replay> <work folder> [seconds, default 20]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz.sh <dds|replay> <work folder> [seconds]}
work=${2:?usage: fuzz.sh <dds|replay> <work folder> [seconds]}
seconds=${3:-20}
cxx=${CLANGXX:-clang++}

case "$target" in
    dds)
        parser=(framework/DdsImage.cpp)
        entry=tests/fuzz/DdsFuzzTarget.cpp
        longest=4096 ;;
    replay)
        parser=(game/Replay.cpp game/ControlFrame.cpp game/Difficulty.cpp framework/WholeFile.cpp)
        entry=tests/fuzz/ReplayFuzzTarget.cpp
        longest=2048 ;;
    *) echo "fuzz.sh: no fuzz target '$target'" >&2; exit 2 ;;
esac

mkdir -p "$work/corpus"
cd "$root"
flags=(-std=c++17 -g -O1 -Wall -Wextra -I"$root" -I"$root/tests")
"$cxx" "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$entry" "${parser[@]}" -o "$work/fuzzer"
"$cxx" "${flags[@]}" tests/fuzz/WriteSeeds.cpp tests/support/DdsBytes.cpp game/Replay.cpp \
    game/ControlFrame.cpp game/Difficulty.cpp framework/WholeFile.cpp -o "$work/write-seeds"
"$work/write-seeds" "$target" "$work/seeds"

cd "$work"
# The first folder collects what the fuzzer finds; the seeds stay as they were made.
./fuzzer -max_total_time="$seconds" -max_len="$longest" -print_final_stats=1 corpus seeds
