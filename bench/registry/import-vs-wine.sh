#!/bin/sh
# morvin-reg import of a REGEDIT4 file of 2,000 keys and 50,000 values
# against Wine's regedit /s of the same file, run by run in turn, each
# starting from an empty key: ours into a fresh copy of a new machine (durable:
# synced before it returns), Wine's into a prefix whose server is already
# running (it writes its registry files later, on its own). Prints each run's
# wall seconds and the medians. Not a test. Usage: import-vs-wine.sh
# [path/to/morvin-reg] [runs]
set -eu
reg=$(realpath "${1:-build/bin/morvin-reg}")
runs=${2:-5}
command -v wine >/dev/null || { echo "Wine is not installed" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/import-vs-wine.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

file="$work/big.reg"
sh "$(dirname "$0")/big-reg.sh" "$file"
printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Bench]\r\n\r\n' >"$work/empty.reg"
winpath() { echo "Z:$1" | tr / '\\'; }

MORVIN_MACHINE="$work/machine0" "$reg" init >/dev/null
wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p  # stays up between the runs, as it would on a desktop

seconds() { # command... -> wall seconds
  /usr/bin/time -f %e -o "$work/time" "$@" >/dev/null 2>&1
  cat "$work/time"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

: >"$work/ours"
: >"$work/wine"
echo "run  morvin-reg  wine-regedit"
i=0
while [ $i -lt "$runs" ]; do
  i=$((i + 1))
  rm -rf "$work/machine"
  cp -a "$work/machine0" "$work/machine"
  ours=$(MORVIN_MACHINE="$work/machine" seconds "$reg" import "$file")
  wine regedit /s "$(winpath "$work/empty.reg")" >/dev/null 2>&1
  theirs=$(seconds wine regedit /s "$(winpath "$file")")
  echo "$ours" >>"$work/ours"
  echo "$theirs" >>"$work/wine"
  echo "$i    $ours        $theirs"
done
echo "median  $(median <"$work/ours")  $(median <"$work/wine")"
