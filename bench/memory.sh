#!/usr/bin/env bash
# Peak memory (maximum resident set) of parvex-list: a token-dense 20 MB file (one-letter
# tokens, the worst case for the collection lists) with --out and --stdout, and the whole Free
# Pascal tree with --stdout and with --out.
# Usage: bench/memory.sh [PARVEX_LIST] [FPC_TREE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/bin/parvex-list}
tree=${2:-/usr/share/fpcsrc/3.2.2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"
awk 'BEGIN { l = "a b c d e f g h i j k l m n o p q r s t u v w x y z"; n = int(20000000 / 52);
             for (i = 0; i < n; i++) print l }' > "$work/dense.pas"
measure() { # label, then the command
  local label=$1
  shift
  /usr/bin/time -f "%M %e" -o "$work/time" "$@" > /dev/null
  read -r kb secs < "$work/time"
  awk -v l="$label" -v kb="$kb" -v s="$secs" 'BEGIN { printf "%-34s %8.0f MB %8.2f s\n", l, kb / 1024, s }'
}
bytes=$(stat -c %s "$work/dense.pas")
echo "token-dense file: $((bytes / 1000000)) MB"
measure "dense --out" "$exe" --quiet --personal "$work/personal.dat" --out "$work/o1" "$work/dense.pas"
measure "dense --stdout" "$exe" --quiet --personal "$work/personal.dat" --stdout "$work/dense.pas"
if [ -d "$tree" ]; then
  largest=$(find "$tree" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' -o -iname '*.dpr' \
              -o -iname '*.lpr' \) -printf '%s\n' | sort -n | tail -1)
  echo "Free Pascal tree: largest file $((largest / 1000000)) MB"
  measure "tree --stdout" "$exe" --quiet --personal "$work/personal.dat" --stdout "$tree"
  measure "tree --out" "$exe" --quiet --personal "$work/personal.dat" --out "$work/o2" "$tree"
fi
