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
# A short clean run of every fuzzer over its seeds (full-size card buffers among them)
# catches a decoder that crashes on real data or its first odd input. The seeds go to a
# scratch corpus, so nothing is written into the checkout.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
build/fuzz/fuzz/write_fuzz_seeds "$corpus"
for f in build/fuzz/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  t=$(basename "$f")
  mkdir -p "$corpus/$t"
  "$f" "$corpus/$t" -max_total_time=5 -max_len=140000 -len_control=0 -keep_seed=1 -print_final_stats=0 \
    -artifact_prefix="build/fuzz/$t-" >/dev/null 2>"build/fuzz/$t.log" \
    || { echo "fuzzer $t failed:"; tail -30 "build/fuzz/$t.log"; exit 1; }
done
echo "fuzz smoke runs clean"
