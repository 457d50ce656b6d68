#!/usr/bin/env bash
# Single-core cost of the listing engine in instructions per input byte, counted by callgrind (the
# count does not depend on what else the machine is doing, so two builds compare fairly).
# A fixed sample of the Free Pascal tree, listed once with --stdout and once with --out.
# Usage: bench/instructions-per-byte.sh [PARVEX_LIST] [FPC_TREE] [--profile OUT_FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/bin/parvex-list}
tree=${2:-/usr/share/fpcsrc/3.2.2}
profile=${4:-}
# parvex-list restarts itself with these heap settings unless they are given: given here, the
# run that callgrind follows is the real one.
export GLIBC_TUNABLES=glibc.malloc.hugetlb=1:glibc.malloc.arena_max=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"
find "$tree/packages/fcl-base" "$tree/packages/fcl-xml" "$tree/rtl/objpas" "$tree/rtl/inc" \
  -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \) -print0 | sort -z > "$work/files"
bytes=$(xargs -0 cat < "$work/files" | wc -c)
echo "sample: $(tr -cd '\0' < "$work/files" | wc -c) files, $bytes bytes"
count() { # label, then the arguments
  local label=$1 out=/dev/null
  shift
  [ -n "$profile" ] && out="$profile.$label"
  ir=$(xargs -0 valgrind --tool=callgrind --callgrind-out-file="$out" "$exe" --quiet -j 1 \
         --personal "$work/personal.dat" "$@" < "$work/files" 2>&1 >/dev/null |
       sed -n "s/.*Collected : \([0-9]*\).*/\1/p") || true
  awk -v ir="$ir" -v b="$bytes" -v l="$label" 'BEGIN { printf "%-8s %14.0f instructions %7.1f per byte\n", l, ir, ir / b }'
}
count stdout --stdout
rm -rf "$work/out"
count out --out "$work/out"
