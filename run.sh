#!/usr/bin/env bash
# Installs what is missing, builds and starts ZORIX7Check on the virtual cards.
# Without a display it runs the checks headless and prints their results.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: headless check run on the virtual bench."
  exec build/release/zorix7check --check-all "$@"
fi
exec build/release/zorix7check "$@"
