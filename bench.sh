#!/bin/sh
# The old name of ./benchmarks.sh.
exec "$(dirname "$0")/benchmarks.sh" "$@"
