#!/usr/bin/env bash
# Fuzzes the DDS parser with libFuzzer under AddressSanitizer and UBSan for a bounded
# time. Needs clang++ (set CLANGXX to pick one). Exits non-zero on the first crash, leak,
# undefined behaviour or broken invariant; the failing input is left in the work folder.
# Usage: tools/fuzz-dds.sh <work folder> [seconds, default 20]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:?usage: fuzz-dds.sh <work folder> [seconds]}
seconds=${2:-20}
cxx=${CLANGXX:-clang++}

mkdir -p "$work/corpus"
flags=(-std=c++17 -g -O1 -Wall -Wextra -I"$root" -I"$root/tests")
"$cxx" "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$root/tests/fuzz/DdsFuzzTarget.cpp" "$root/framework/DdsImage.cpp" -o "$work/dds-fuzzer"
"$cxx" "${flags[@]}" "$root/tests/fuzz/WriteDdsSeeds.cpp" "$root/tests/support/DdsBytes.cpp" \
    -o "$work/write-dds-seeds"
"$work/write-dds-seeds" "$work/seeds"

cd "$work"
# The first folder collects what the fuzzer finds; the seeds stay as they were made.
./dds-fuzzer -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 corpus seeds
