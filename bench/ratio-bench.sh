#!/usr/bin/env bash
# parvex-list against its peers over the whole Free Pascal tree, each figure a ratio measured in
# one run with A and B taking turns (so both see the same machine load):
#   --stdout            against  wc -w            (reads every file, splits it into words)
#   --out DIR, all lists against mkid of id-utils (indexes every token into one file)
# and the peak memory of the whole-tree --stdout run. Prints the machine's core count and the
# figures for -j 1 and for the default number of jobs.
# Usage: bench/ratio-bench.sh [BUILD_DIR] [ROUNDS]    (needs id-utils for mkid)
# On a busy machine the wall times vary from round to round; A and B taking turns keeps their
# ratio fair, and the CPU times show the work apart from the waiting.
# Give the file system a few minutes' rest after many files were deleted (an earlier run's
# cleanup, say): for a while ext4 creates files slowly, and the --out figures with it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-3}
exe=$build/bin/parvex-list
tree=/usr/share/fpcsrc/3.2.2
[ -x "$exe" ] || { echo "build parvex-list first (cmake --build $build --target parvex-list)" >&2; exit 2; }
command -v mkid > /dev/null || { echo "mkid is missing: apt-get install id-utils" >&2; exit 2; }
command -v /usr/bin/time > /dev/null || { echo "/usr/bin/time is missing: apt-get install time" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/personal.dat"
# The files parvex-list walks: .pas, .pp, .inc, .dpr, .lpr in any letter case, sorted.
find "$tree" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' -o -iname '*.dpr' \
    -o -iname '*.lpr' \) -print0 | sort -z > "$work/files0"
files=$(tr -cd '\0' < "$work/files0" | wc -c)
bytes=$(du -cb --files0-from="$work/files0" | tail -1 | cut -f1)
printf '*.%s text\n' pas pp inc dpr lpr PAS PP INC DPR LPR Pas > "$work/lang.map"

# "WALL CPU" seconds of one run of the command (CPU: user + system), output thrown away
timed() {
  /usr/bin/time -f "%e %U %S" -o "$work/t" "$@" > /dev/null 2>&1 || true
  awk '{ printf "%.3f %.3f", $1, $2 + $3 }' "$work/t"
}
# the run with the least wall time
min() { printf '%s\n' "$@" | sort -g | head -1; }

# label, then the commands A and B as two strings; a "prep" string runs untimed before each.
# "@R@" in a command stands for a number of its own in every run: each run writes into new
# names. (Deleting 55,000 result files just before writing them again would measure the file
# system instead: it skips the inodes freed in the last minute one by one.)
run_no=0
ratio() {
  local label=$1 a=$2 b=$3 prep=${4:-true}
  local as=() bs=()
  for _ in $(seq "$rounds"); do
    run_no=$((run_no + 1))
    eval "$prep"; as+=("$(timed bash -c "${a//@R@/$run_no}")")
    eval "$prep"; bs+=("$(timed bash -c "${b//@R@/$run_no}")")
  done
  local ba bb
  ba=$(min "${as[@]}"); bb=$(min "${bs[@]}")
  echo "$ba $bb" | awk -v l="$label" -v by="$bytes" '{
    printf "%-46s wall %6.2f / %6.2f s = %5.2fx   cpu %6.2f / %6.2f s = %5.2fx   %5.1f MB/s\n",
      l, $1, $3, $1 / $3, $2, $4, $2 / $4, by / $1 / 1e6 }'
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "tree: $files files, $((bytes / 1000000)) MB; best of $rounds, A and B in turn"
echo "(wall: elapsed time; cpu: user + system time of all threads; each A / B)"
wc="wc -w --files0-from='$work/files0'"
for j in 1 0; do
  jobs=$([ "$j" = 0 ] && echo "" || echo "-j $j")
  name=$([ "$j" = 0 ] && echo "-j default ($(nproc))" || echo "-j $j")
  ratio "--stdout $name vs wc -w" \
    "'$exe' --quiet $jobs --personal '$work/personal.dat' --stdout '$tree'" "$wc"
  ratio "--out $name vs mkid" \
    "'$exe' --quiet $jobs --personal '$work/personal.dat' --out '$work/out-@R@' '$tree'" \
    "mkid -m '$work/lang.map' -i text -o '$work/ID-@R@' --files0-from='$work/files0'" \
    "sync"
done

echo "== peak memory of the whole-tree --stdout run"
for jobs in "-j 1" ""; do
  /usr/bin/time -f "%M" -o "$work/mem" "$exe" --quiet $jobs --personal "$work/personal.dat" \
    --stdout "$tree" > /dev/null 2>&1 || true
  awk -v j="${jobs:-default jobs}" '{ printf "%-44s %7.1f MB\n", "parvex-list --stdout " j, $1 / 1024 }' "$work/mem"
done
