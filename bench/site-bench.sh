#!/usr/bin/env bash
# The cross-reference site of the whole Free Pascal tree: time and peak memory of
# parvex-list --html against --out over the same tree, the site's size and file count against
# the sources', and the time from a click on the tree's most frequent token to its first
# occurrences shown in Debian's Chromium (bench/site-click.mjs).
# Usage: bench/site-bench.sh [PARVEX_LIST] [TREE] [JOBS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/bin/parvex-list}
tree=${2:-/usr/share/fpcsrc/3.2.2}
jobs=${3:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"
measure() { # label, then the command: wall time, processor time (user + system), peak memory
  local label=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" > /dev/null
  read -r secs user sys kb < "$work/time"
  awk -v l="$label" -v s="$secs" -v u="$user" -v y="$sys" -v kb="$kb" \
    'BEGIN { printf "%-22s %7.2f s wall %7.2f s processor %6.0f MB peak\n", l, s, u + y, kb / 1024 }'
}
read -r files bytes < <(find "$tree" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \
  -o -iname '*.dpr' -o -iname '*.lpr' \) -printf '%s\n' | awk '{ n++; s += $1 } END { print n, s }')
echo "sources                $files files, $((bytes / 1000000)) MB; -j $jobs; load $(cut -d' ' -f1 /proc/loadavg)"
for round in 1 2; do
  rm -rf "$work/out" "$work/site"
  measure "--out (round $round)" "$exe" --quiet -j "$jobs" --personal "$work/personal.dat" --out "$work/out" "$tree"
  measure "--html (round $round)" "$exe" --quiet -j "$jobs" --personal "$work/personal.dat" --html "$work/site" "$tree"
done
read -r site_files site_bytes < <(find "$work/site" -type f -printf '%s\n' | awk '{ n++; s += $1 } END { print n, s }')
awk -v f="$site_files" -v b="$site_bytes" -v sf="$files" -v sb="$bytes" 'BEGIN {
  printf "site                   %d files (%.2f x the sources), %.0f MB (%.2f x the sources)\n", f, f / sf, b / 1e6, b / sb }'
if [ -x /usr/bin/chromium ] && [ -d "$root/tests/browser/node_modules/playwright-core" ]; then
  node "$root/bench/site-click.mjs" "$work/site" 7
else
  echo "click benchmark skipped: needs /usr/bin/chromium and tests/browser's packages (scripts/install-deps)"
fi
