#!/usr/bin/env bash
# Cost of one very long line: a line of routine headings, a line of routines (one remark each),
# a line of old remarks and a line of old remarks behind END (each one removed), next to a line
# of plain words. Every line must cost time linear in its length, so all of them should list at
# a few MB/s or better.
# Usage: bench/long-lines.sh [PARVEX_LIST] [SCALE]   (SCALE 1 = the sizes below; 0.2 = a fifth)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/bin/parvex-list}
scale=${2:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"

line() { # unit, count, file
  awk -v u="$1" -v n="$2" 'BEGIN { s = ""; for (i = 0; i < n; i++) s = s u; print s }' > "$3"
}
n() { awk -v n="$1" -v s="$scale" 'BEGIN { printf "%d", n * s }'; }
printf "%-36s %10s %9s %10s\n" "one line of" "bytes" "seconds" "MB/s"
for spec in "word |100000" "function |100000" "procedure a;begin end;|100000" "{ of x }|200000" \
            "end; { of x } |100000"; do
  unit=${spec%|*}
  count=$(n "${spec#*|}")
  line "$unit" "$count" "$work/line.pas"
  bytes=$(stat -c %s "$work/line.pas")
  t0=$(date +%s.%N)
  "$exe" --quiet --stdout --personal "$work/personal.dat" "$work/line.pas" > /dev/null
  t1=$(date +%s.%N)
  awk -v u="'$unit' x $count" -v b="$bytes" -v a="$t0" -v z="$t1" \
    'BEGIN { s = z - a; printf "%-36s %10d %9.3f %10.1f\n", u, b, s, b / s / 1e6 }'
done
