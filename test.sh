#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer + UBSan and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=$(nproc)
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORIX7_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"
# The fuzz targets are built (with clang) so that they never rot; each runs briefly over its seeds.
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORIX7_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 300
# A short clean run of every fuzzer catches a decoder that crashes on its first odd input.
for f in build/fuzz/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  "$f" -max_total_time=5 -max_len=140000 -print_final_stats=0 >/dev/null 2>"build/fuzz/$(basename "$f").log" \
    || { echo "fuzzer $(basename "$f") failed:"; tail -30 "build/fuzz/$(basename "$f").log"; exit 1; }
done
echo "fuzz smoke runs clean"
