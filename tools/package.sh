#!/usr/bin/env bash
# Builds an optimised tree and the Debian package zorix7check_<version>_<arch>.deb in it,
# then lists the package and runs the program from a scratch unpacking.
# ZORIX7_PACKAGE_BUILD chooses the build folder (default build/package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
build="${ZORIX7_PACKAGE_BUILD:-$root/build/package}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORIX7_TESTS=OFF -DZORIX7_SANITIZE=OFF >/dev/null
cmake --build "$build" --target zorix7check zorix7check_man -j "$(nproc)"
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/zorix7check_*.deb | head -n 1)
echo "== $deb"
dpkg-deb -c "$deb"
dpkg-deb -f "$deb" Package Version Depends
# The unpacked program must find libzorix7 through its RUNPATH alone.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch"
for f in usr/bin/zorix7check "usr/lib*/zorix7check/libzorix7.so" usr/share/applications/zorix7check.desktop \
         usr/share/icons/hicolor/scalable/apps/zorix7check.svg usr/share/man/man1/zorix7check.1.gz \
         usr/share/zorix7check/ZORIX7Check.INI usr/share/zorix7check/bench-example.ini; do
  compgen -G "$scratch/$f" >/dev/null || { echo "package.sh: $f missing from the package" >&2; exit 1; }
done
env -u LD_LIBRARY_PATH "$scratch/usr/bin/zorix7check" --version
