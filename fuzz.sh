#!/usr/bin/env bash
# Runs one fuzz target long, over its seeds, with inputs up to the card buffer size from
# the start:
#   ./fuzz.sh TARGET SECONDS [libFuzzer options]     e.g. ./fuzz.sh fuzz_data_list 600
# TARGET is one of the fuzz_* programs of fuzz/ (without arguments the list is printed).
# What the run finds stays in build/fuzz/corpus/TARGET for the next run; a crashing input
# is kept in build/fuzz/crashes/. ZORIX7_FUZZ_BUILD=DIR builds and runs in DIR instead.
# Options given override the defaults below, e.g. -runs=1000000, or -max_len=4096 for a target
# whose full-size inputs take long (the data list formats 65536 lines per buffer).
set -euo pipefail
cd "$(dirname "$0")"
build=${ZORIX7_FUZZ_BUILD:-build/fuzz}
targets=$(sed -n 's/^zorix7_add_fuzzer(\(fuzz_[a-z_0-9]*\) .*/\1/p' fuzz/*.cmake | sort | tr '\n' ' ')
if [ $# -lt 2 ] || ! [[ " $targets " == *" $1 "* ]] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer options]" >&2
  echo "targets: $targets" >&2
  exit 2
fi
target=$1 seconds=$2
shift 2
tools/deps.sh
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORIX7_FUZZ=ON >/dev/null
cmake --build "$build" --target "$target" write_fuzz_seeds
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
"$build/fuzz/write_fuzz_seeds" "$seeds"
mkdir -p "$build/corpus/$target" "$build/crashes"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# New inputs go to the first folder only: the seeds are read, never written.
# -len_control=0: full-size inputs from the first run on, not grown a few bytes at a time;
# -keep_seed=1: the full-size seeds stay in the corpus even where they reach no new code.
"$build/fuzz/$target" "$build/corpus/$target" "$seeds/$target" -max_len=140000 -len_control=0 -keep_seed=1 \
  -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" "$@"
