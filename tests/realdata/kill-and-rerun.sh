#!/usr/bin/env bash
# No kill loses an original: lists a copy of the Free Pascal tree twice, then kills a third run
# at random moments (SIGKILL), runs it once more to the end, and checks that every source's
# original is still there byte for byte: in NAME-SAVED, or under its own name when the listing
# left the text as it was (binary and empty files are not listed at all). A second round does
# the same with the kills in the very first run, where every save still moves an original aside.
# Usage: tests/realdata/kill-and-rerun.sh PARVEX_LIST [KILLS] [OPTIONS]
# (OPTIONS, such as "--case upper", go to every run.)
set -euo pipefail
exe=$(realpath "$1")
kills=${2:-6}
read -r -a options <<< "${3:-}"
src=/usr/share/fpcsrc/3.2.2
[ -d "$src" ] || { echo "the Free Pascal sources are missing: run scripts/install-deps"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"

list() { "$exe" --quiet "${options[@]}" --personal "$work/personal.dat" "$work/tree" 2>> "$work/errors" || true; }
seconds() { date +%s.%N; }

# Starts a run and kills it after a random part of `span` seconds, `kills` times.
killed_runs() {
  local span=$1
  for i in $(seq "$kills"); do
    local wait_for
    wait_for=$(awk -v s="$span" -v r="$RANDOM" 'BEGIN { printf "%.2f", s * r / 32768 }')
    "$exe" --quiet "${options[@]}" --personal "$work/personal.dat" "$work/tree" 2> /dev/null &
    local pid=$!
    sleep "$wait_for"
    kill -KILL "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
    echo "  run $i killed after ${wait_for}s"
  done
}

# Every walked source (no links followed): its original is in NAME-SAVED or still in NAME.
check() {
  local lost=0 saved=0 kept=0 total=0
  while IFS= read -r -d '' f; do
    rel=${f#"$src"/}
    total=$((total + 1))
    if [ -e "$work/tree/$rel-SAVED" ]; then
      if cmp -s "$f" "$work/tree/$rel-SAVED"; then saved=$((saved + 1)); else
        echo "LOST $rel: NAME-SAVED differs from the original"; lost=$((lost + 1)); fi
    elif cmp -s "$f" "$work/tree/$rel"; then
      kept=$((kept + 1))
    else
      echo "LOST $rel: no NAME-SAVED and the text is not the original"; lost=$((lost + 1))
    fi
    [ -e "$work/tree/$rel" ] || { echo "GONE $rel"; lost=$((lost + 1)); }
  done < <(find "$src" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.dpr' \
             -o -iname '*.lpr' -o -iname '*.inc' \) -print0)
  stale=$(find "$work/tree" -name '.parvex-????????????.tmp' | wc -l)
  echo "  $total sources: $saved originals in NAME-SAVED, $kept unchanged under their name," \
       "$lost lost; $stale temporary files left"
  [ "$lost" -eq 0 ] && [ "$stale" -eq 0 ]
}

status=0
echo "== round 1: two full runs, $kills killed runs, one full run"
cp -a "$src" "$work/tree"
t0=$(seconds); list; t1=$(seconds)
span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
echo "  first run: ${span}s"
t0=$(seconds); list; t1=$(seconds)
span2=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
echo "  second run: ${span2}s"
killed_runs "$span2"
list
check || status=1

echo "== round 2: $kills killed first runs on a fresh copy, then one full run"
rm -rf "$work/tree"
cp -a "$src" "$work/tree"
killed_runs "$span"
list
check || status=1

echo "== messages of the full runs (binary files and the like)"
sort -u "$work/errors" | sed 's/^/  /' | head -20
exit $status
