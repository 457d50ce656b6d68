#!/usr/bin/env bash
# What finding each source's .parvex and judging excludes costs a walk: --list-changed over the
# Free Pascal source tree (copied once), without configuration files, with --no-config, with a
# .parvex at the top (three excludes) and one in every folder, and with the file list given by
# --files-from -0. Prints the best of five wall times of each.
# Usage: bench/config-walk.sh [BUILD_DIR] [OTHER_PARVEX_LIST]   (the other program: a baseline)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
other=${2:-}
cmake --build "$build" --target parvex-list > /dev/null
exe=$build/bin/parvex-list
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r /usr/share/fpcsrc/3.2.2 "$work/tree"
mkdir "$work/tree/.git" # the repository's top: the search stops there
: > "$work/personal.dat"
files=$(cd "$work/tree" && find . -type f \( -name '*.pas' -o -name '*.pp' -o -name '*.inc' \
  -o -name '*.dpr' -o -name '*.lpr' \) | wc -l)
echo "$files sources"

best_of_5() {
  local best="" t0 t1 dt
  for _ in 1 2 3 4 5; do
    t0=$(date +%s.%N); (cd "$work/tree" && "$@" > /dev/null) || [ $? -eq 1 ]; t1=$(date +%s.%N)
    dt=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    if [ -z "$best" ] || awk -v a="$dt" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$dt; fi
  done
  printf "%-44s %6.3f s\n" "$label" "$best"
}
run() { label=$1; shift; best_of_5 "$@"; }

args=(--personal "$work/personal.dat" --case upper -j 2 --list-changed)
[ -n "$other" ] && run "baseline program, no .parvex" "$other" "${args[@]}" .
run "no .parvex" "$exe" "${args[@]}" .
run "--no-config" "$exe" --no-config "${args[@]}" .
printf '[parvex]\nexclude = backup/\nexclude = *_old.pas\nexclude = **/generated/*\n' \
  > "$work/tree/.parvex"
run ".parvex at the top, three excludes" "$exe" "${args[@]}" .
(cd "$work/tree" && find . -mindepth 1 -type d -not -path './.git*' \
  -exec sh -c 'printf "[parvex]\nexclude = x/\n" > "$1/.parvex"' _ {} \;)
run ".parvex in every folder" "$exe" "${args[@]}" .
(cd "$work/tree" && find . -type f -name '*.pp' -print0) > "$work/list0"
find "$work/tree" -mindepth 2 -name .parvex -delete
run "--files-from -0 (the .pp files), top .parvex" "$exe" -0 --files-from "$work/list0" "${args[@]}"
