#!/usr/bin/env bash
# What a save costs the system besides the listing: lists fresh copies of a part of the Free
# Pascal tree in place (--case upper, -j 1) with two programs and prints, for each, the system
# calls per source (counted by strace -f -c, which load on the machine does not blur) and the
# best user + system CPU seconds of a few rounds. The copies are left alone for three seconds
# before the run, as sources are that were not written the moment before (a source written
# within two seconds of its read is read a second time just before its save).
# Usage: bench/save-syscalls.sh PARVEX_LIST_A PARVEX_LIST_B [FOLDER] [ROUNDS]
set -euo pipefail
part=${3:-rtl/objpas}
rounds=${4:-3}
src=/usr/share/fpcsrc/3.2.2/$part
[ -d "$src" ] || { echo "$src is missing: run scripts/install-deps"; exit 1; }
command -v strace > /dev/null || { echo "strace is needed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"
sources=$(find "$src" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \) | wc -l)
echo "$part: $sources sources"
for exe in "$1" "$2"; do
  rm -rf "$work/tree" && cp -a "$src" "$work/tree" && sleep 3
  strace -f -c -o "$work/calls" "$exe" --quiet -j 1 --case upper --personal "$work/personal.dat" \
    "$work/tree" 2> /dev/null || true
  calls=$(awk '$NF == "total" { print $4 }' "$work/calls")
  best=""
  for _ in $(seq "$rounds"); do
    rm -rf "$work/tree" && cp -a "$src" "$work/tree" && sleep 3
    /usr/bin/time -o "$work/time" -f "%U %S" "$exe" --quiet -j 1 --case upper \
      --personal "$work/personal.dat" "$work/tree" 2> /dev/null || true
    cpu=$(awk '{ print $1 + $2 }' "$work/time")
    if [ -z "$best" ] || awk -v a="$cpu" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$cpu; fi
  done
  awk -v c="$calls" -v n="$sources" -v t="$best" -v e="$exe" \
    'BEGIN { printf "%-45s %8d calls %6.1f per source %6.2f s CPU\n", e, c, c / n, t }'
done
