#!/usr/bin/env bash
# Listing speed of parvex-list: a generated 100,000-line file against a 1,000-line one (cost per
# line must not grow), and the whole Free Pascal source tree with --stdout and with --out.
# Usage: bench/run-bench.sh [BUILD_DIR]   (builds the program first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" --target parvex-list > /dev/null
cmake --build "$build" --target parvex-window-bench > /dev/null 2>&1 || true
exe=$build/bin/parvex-list
fpc_tree=/usr/share/fpcsrc/3.2.2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"

now() { date +%s.%N; }
# seconds bytes lines label
report() {
  awk -v s="$1" -v b="$2" -v l="$3" -v what="$4" 'BEGIN {
    printf "%-34s %8.2f s %9.1f MB/s %12.0f lines/s\n", what, s, b / s / 1e6, l / s }'
}
# runs the command 3 times, prints the best time
best_of_3() {
  local best=""
  for _ in 1 2 3; do
    local t0 t1 dt
    t0=$(now); "$@" > /dev/null; t1=$(now)
    dt=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    if [ -z "$best" ] || awk -v a="$dt" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$dt; fi
  done
  echo "$best"
}

echo "== generated files (--stdout, best of 3)"
for n in 1000 100000; do
  "$root/bench/gen-pascal.sh" "$n" > "$work/gen$n.pas"
  bytes=$(stat -c %s "$work/gen$n.pas"); lines=$(wc -l < "$work/gen$n.pas")
  # 500,000 lines either way: the 1,000-line file 500 times in one batch, the long one 5 times
  files=(); for _ in $(seq $((500000 / n))); do files+=("$work/gen$n.pas"); done
  s=$(best_of_3 "$exe" --quiet --stdout --personal "$work/personal.dat" "${files[@]}")
  count=${#files[@]}
  report "$s" $((bytes * count)) $((lines * count)) "$n lines x $count"
done

if command -v valgrind > /dev/null; then
  # Instructions do not depend on what else the machine is doing: the fairest test of linearity.
  echo "== instructions per line (callgrind, 100,000 lines either way)"
  for n in 1000 100000; do
    files=(); for _ in $(seq $((100000 / n))); do files+=("$work/gen$n.pas"); done
    lines=$(( $(wc -l < "$work/gen$n.pas") * ${#files[@]} ))
    # (The heap settings given, parvex-list does not restart itself out of callgrind's sight.)
    ir=$(GLIBC_TUNABLES=glibc.malloc.hugetlb=1:glibc.malloc.arena_max=1 valgrind --tool=callgrind --callgrind-out-file=/dev/null "$exe" --quiet --stdout \
           --personal "$work/personal.dat" "${files[@]}" 2>&1 >/dev/null |
         sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
    awk -v ir="$ir" -v l="$lines" -v n="$n" 'BEGIN { printf "%-34s %8.0f instructions/line\n", n " lines x " 100000 / n, ir / l }'
  done
fi

if [ -d "$fpc_tree" ]; then
  find "$fpc_tree" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.dpr' -o -iname '*.lpr' -o -iname '*.inc' \) -print0 > "$work/files"
  bytes=$(xargs -0 cat < "$work/files" | wc -c)
  lines=$(xargs -0 cat < "$work/files" | wc -l)
  nfiles=$(tr -cd '\0' < "$work/files" | wc -c)
  echo "== Free Pascal tree: $nfiles files, $((bytes / 1000000)) MB, $lines lines"
  s=$(best_of_3 "$exe" --quiet --stdout --personal "$work/personal.dat" "$fpc_tree")
  report "$s" "$bytes" "$lines" "--stdout >/dev/null"
  t0=$(now); "$exe" --quiet --out "$work/out" --personal "$work/personal.dat" "$fpc_tree"; t1=$(now)
  report "$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" "$bytes" "$lines" "--out (listed and saved)"
else
  echo "== Free Pascal tree not found at $fpc_tree (apt-get install fpc-source-3.2.2)"
fi

if [ -x "$build/bin/parvex-window-bench" ]; then
  echo "== the same run in the window (offscreen), against parvex-list, best of 3"
  QT_QPA_PLATFORM=offscreen "$build/bin/parvex-window-bench" 100000 2>/dev/null
fi
