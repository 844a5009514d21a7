#!/bin/sh
# Optimised build of the benchmark programs, then runs every one of them.
set -eu
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/deps.sh"
build="$root/build/benchmarks"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORIX7_BENCHMARKS=ON -DZORIX7_TESTS=OFF
targets=$(sed -n 's/^ *add_executable(\([A-Za-z0-9_]*_bench\).*/\1/p' "$root"/benchmarks/*.cmake)
if [ -n "$targets" ]; then
  cmake --build "$build" --target $targets
else
  cmake --build "$build"
fi
status=0
for prog in "$build"/benchmarks/*_bench; do
  [ -x "$prog" ] || continue
  echo "== $(basename "$prog")"
  "$prog" "$@" || status=1
done
exit $status
