#!/usr/bin/env bash
# Renders the README's screenshots (main window, A-scan, bus view, parameter editor, control-LCA
# view) offscreen on the built-in bench of virtual cards into docs/screenshots; with
# ZORIX7_WINDOWS_DIR set, every window of the program into that folder as well.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${ZORIX7_SCREENSHOT_BUILD:-$root/build/screenshots}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORIX7_TESTS=OFF >/dev/null
cmake --build "$build" --target zorix7screenshots -j "$(nproc)"
unset ZORIX7_BENCH  # the built-in bench: two ZORIX7F cards
QT_QPA_PLATFORM=offscreen "$build/tools/zorix7screenshots" "$root/docs/screenshots" "$root/config" \
  ${ZORIX7_WINDOWS_DIR:+"$ZORIX7_WINDOWS_DIR"}
ls -l "$root"/docs/screenshots/*.png
