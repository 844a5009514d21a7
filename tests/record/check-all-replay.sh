#!/bin/sh
# A headless check run on the virtual cards recorded through libzorix7-record, then replayed:
# the same lines, status and JUnit report; replayed with a parameter set changed, the first
# different call is reported and the run fails.
set -u
program=$1 dir=$2
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" || exit 1
"$program" --check-all --record session.zx7 --report recorded.xml >recorded.txt 2>recorded.err
recorded=$?
[ -s session.zx7 ] || { echo "no session written"; cat recorded.err; exit 1; }
"$program" --check-all --replay session.zx7 --replay-fast --report replayed.xml >replayed.txt 2>replayed.err
replayed=$?
[ "$recorded" = "$replayed" ] || { echo "status $recorded recorded, $replayed replayed"; exit 1; }
cmp recorded.txt replayed.txt && cmp recorded.xml replayed.xml || exit 1
grep -q "Alle Tests: .* OK" replayed.txt || { echo "nothing checked"; exit 1; }
# One setting of parameter set 1 changed in a copy of the configuration.
bin=$(dirname "$program")
cp "$bin/Kennung-ZORIX7F.txt" . && sed 's/^\[Karte1-Satz1\]/&\nVerstaerkung=333/' "$bin/ZORIX7Check.INI" >changed.INI
"$program" --check-all --config changed.INI --replay session.zx7 --replay-fast >changed.txt 2>changed.err
changed=$?
[ "$changed" = 1 ] || { echo "changed configuration: status $changed"; exit 1; }
grep -q "weicht ab bei Aufruf [0-9]*: erwartet ZORIX7PrepAllGatesParam(.*), erhalten ZORIX7PrepAllGatesParam(.*); Argument 3: Byte 64 " changed.err ||
  { echo "no divergence report"; cat changed.err; exit 1; }
echo "recorded and replayed alike; divergence: $(cat changed.err)"
