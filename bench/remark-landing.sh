#!/usr/bin/env bash
# Where the END remarks land on real code: lists the Free Pascal `packages` and `rtl` trees with
# --stdout and counts the remarks the run added, and how many of them stand on a unit's or
# program's final «end.» (a routine's remark never belongs there).
# Usage: bench/remark-landing.sh [PARVEX_LIST] [FPC_TREE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/bin/parvex-list}
tree=${2:-/usr/share/fpcsrc/3.2.2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"

find "$tree/packages" "$tree/rtl" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \
  -o -iname '*.dpr' -o -iname '*.lpr' \) -print0 | sort -z > "$work/files"
xargs -0 cat < "$work/files" | tr -d '\r' > "$work/in.txt"
xargs -0 "$exe" --quiet --stdout --keep-old-remarks --personal "$work/personal.dat" \
  < "$work/files" | tr -d '\r' > "$work/out.txt"

# A remark is " { of NAME }"; those already in the sources are not the run's.
remarks() { grep -oE '\{ of [A-Za-z0-9_]* \}' "$1" | wc -l; }
on_final_end() { grep -ciE '(^|[^A-Za-z0-9_])end[[:space:]]*\.[[:space:]]*\{ of [A-Za-z0-9_]* \}' "$1" || true; }
files=$(tr -cd '\0' < "$work/files" | wc -c)
added=$(( $(remarks "$work/out.txt") - $(remarks "$work/in.txt") ))
final=$(( $(on_final_end "$work/out.txt") - $(on_final_end "$work/in.txt") ))
echo "files:                 $files"
echo "remarks added:         $added"
echo "remarks on «end.»:     $final"
