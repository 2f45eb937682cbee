#!/bin/sh
# The journal after heavy use, as a user meets it: a REGEDIT4 file of 2,000
# keys and 50,000 values imported and undone ten times, then the reads, the
# forget, and one more import and undo, each a whole morvin-reg process with
# its wall time and peak memory. Not a test: prints figures for
# docs/PERFORMANCE.md. Usage: journal-cycles.sh [path/to/morvin-reg]
set -eu
reg=$(realpath "${1:-build/bin/morvin-reg}")
work=$(mktemp -d "${TMPDIR:-/tmp}/journal-cycles.XXXXXX")
trap 'rm -rf "$work"' EXIT
export MORVIN_MACHINE="$work/machine"

file="$work/big.reg"
sh "$(dirname "$0")/big-reg.sh" "$file"

measure() { # label, command...
  label=$1
  shift
  /usr/bin/time -f "$label: %e s, %M KB" "$@" >/dev/null
}
hive() { stat -c %s "$MORVIN_MACHINE/drive_c/WINDOWS/USER.DAT"; }

"$reg" init >/dev/null
echo "USER.DAT before the cycles: $(hive) bytes"
for i in 1 2 3 4 5 6 7 8 9 10; do
  "$reg" import "$file"
  "$reg" undo --last 1 >/dev/null
done
echo "USER.DAT after ten import-and-undo cycles: $(hive) bytes"
measure "history --limit 20" "$reg" history --limit 20
measure "changes (nothing changed)" "$reg" changes "$work/changes.reg"
measure "forget" "$reg" forget
echo "USER.DAT after forget: $(hive) bytes"
measure "import" "$reg" import "$file"
measure "undo of that import" "$reg" undo --last 1
