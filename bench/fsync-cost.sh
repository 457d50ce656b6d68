#!/usr/bin/env bash
# What flushing costs: an in-place save puts the new text on the disk (fsync) before it takes
# the source's place, and flushes the folder after the renames. This lists fresh copies of the
# Free Pascal tree (or of FOLDER inside it) with the flushes and with them turned into no-ops
# (a preloaded stand-in for fsync), alternating, and prints the times.
# Usage: bench/fsync-cost.sh PARVEX_LIST [FOLDER] [ROUNDS]
set -euo pipefail
exe=$(realpath "$1")
part=${2:-}
rounds=${3:-2}
src=/usr/share/fpcsrc/3.2.2${part:+/$part}
[ -d "$src" ] || { echo "$src is missing: run scripts/install-deps"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"
cat > "$work/nofsync.c" << 'C'
int fsync(int fd) { (void)fd; return 0; }
int fdatasync(int fd) { (void)fd; return 0; }
C
cc -shared -fPIC -O2 -o "$work/nofsync.so" "$work/nofsync.c"
files=$(find "$src" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.dpr' -o -iname '*.lpr' \
          -o -iname '*.inc' \) | wc -l)

one_run() { # label, preload
  rm -rf "$work/tree"
  cp -a "$src" "$work/tree"
  sync
  local t0 t1
  t0=$(date +%s.%N)
  LD_PRELOAD=$2 "$exe" --quiet --personal "$work/personal.dat" "$work/tree" 2> /dev/null || true
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" -v what="$1" 'BEGIN { printf "%-16s %8.2f s\n", what, b - a }'
}

echo "== $files sources under $src, first listing (every text replaced), $rounds rounds"
for _ in $(seq "$rounds"); do
  one_run "with fsync" ""
  one_run "without fsync" "$work/nofsync.so"
done | tee "$work/times"
awk -v n="$files" '/with fsync/ { w += $3; nw++ } /without fsync/ { o += $3; no++ }
  END { if (nw && no) printf "flushing costs %.2f s in all, %.1f ms per source\n",
        w / nw - o / no, (w / nw - o / no) * 1000 / n }' "$work/times"
