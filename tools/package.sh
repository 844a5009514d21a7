#!/usr/bin/env bash
# Builds an optimised tree and the Debian package zorix7check_<version>_<arch>.deb in it,
# lists the package, runs the program from a scratch unpacking, and has Debian's checkers
# (lintian, appstreamcli, desktop-file-validate) look at it: any error or warning fails.
# ZORIX7_PACKAGE_BUILD chooses the build folder (default build/package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The checkers are needed only here, so a test build never waits for them.
"$root/tools/deps.sh" lintian appstream desktop-file-utils
build="${ZORIX7_PACKAGE_BUILD:-$root/build/package}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORIX7_TESTS=OFF -DZORIX7_SANITIZE=OFF >/dev/null
cmake --build "$build" --target zorix7check zorix7check_man zorix7check_changelog -j "$(nproc)"
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/zorix7check_*.deb | head -n 1)
echo "== $deb"
dpkg-deb -c "$deb"
dpkg-deb -f "$deb" Package Version Depends
# The unpacked program must find libzorix7 through its RUNPATH alone.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch"
metainfo=usr/share/metainfo/org.example.zorix7check.metainfo.xml
desktop=usr/share/applications/zorix7check.desktop
for f in usr/bin/zorix7check "usr/lib/*/zorix7check/libzorix7.so" "$desktop" "$metainfo" \
         usr/share/icons/hicolor/scalable/apps/zorix7check.svg usr/share/man/man1/zorix7check.1.gz \
         usr/share/doc/zorix7check/copyright usr/share/doc/zorix7check/changelog.gz \
         usr/share/zorix7check/ZORIX7Check.INI usr/share/zorix7check/Kennung-ZORIX7F.txt \
         usr/share/zorix7check/bench-example.ini; do
  compgen -G "$scratch/$f" >/dev/null || { echo "package.sh: $f missing from the package" >&2; exit 1; }
done
env -u LD_LIBRARY_PATH "$scratch/usr/bin/zorix7check" --version

echo "== Debian's checks"
# lintian lists errors as "E:" and warnings as "W:"; it fails only on errors by itself.
# Its root check is for building packages as root, which is how this machine works.
findings=$(lintian --tag-display-limit 0 --allow-root "$deb" 2>&1 || true)
[ -z "$findings" ] || echo "$findings"
if grep -qE '^[EW]: ' <<<"$findings"; then
  echo "package.sh: lintian reports errors or warnings" >&2
  exit 1
fi
appstreamcli validate --no-net "$scratch/$metainfo"
desktop-file-validate "$scratch/$desktop"
echo "package.sh: lintian, appstreamcli and desktop-file-validate accept the package"
