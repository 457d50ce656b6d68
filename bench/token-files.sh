#!/usr/bin/env bash
# Loading large token files: time (elapsed, and processor time, which other work on the
# machine disturbs less) and peak memory (maximum resident set) of parvex-list with a
# personal token file and with a cumulated one (--tokens) of 8, 16, 31 and 62 MB of distinct
# tokens, listing a one-line source. The cost per megabyte must stay the same as files grow.
# Usage: bench/token-files.sh [PARVEX_LIST]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/bin/parvex-list}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/empty.dat"
echo 'program x; begin end.' > "$work/a.pas"
# Distinct tokens of 4 to 14 letters of both cases, CR LF after each, as a token file holds them.
awk 'BEGIN { srand(1); letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
             n = 0; while (n < 62000000) { len = 4 + int(rand() * 11); w = "";
               for (i = 0; i < len; i++) w = w substr(letters, 1 + int(rand() * 52), 1);
               printf "%s\r\n", w; n += len + 2 } }' > "$work/62.dat"
for mb in 8 16 31; do head -c "${mb}000000" "$work/62.dat" > "$work/$mb.dat"; done
measure() { # label, then the command
  local label=$1
  shift
  /usr/bin/time -f "%M %e %U %S" -o "$work/time" "$@" > /dev/null
  read -r kb secs user sys < "$work/time"
  awk -v l="$label" -v kb="$kb" -v s="$secs" -v u="$user" -v y="$sys" \
    'BEGIN { printf "%-22s %7.2f s elapsed %7.2f s cpu %6.0f MB\n", l, s, u + y, kb / 1024 }'
}
# The 62 MB file is within the default limit of 64 MiB; an older program has no limit to raise.
limit=()
"$exe" --help | grep -q -- --max-size && limit=(--max-size 1G)
for mb in 8 16 31 62; do
  measure "--personal $mb MB" "$exe" "${limit[@]}" --personal "$work/$mb.dat" --stdout "$work/a.pas"
  measure "--tokens $mb MB" "$exe" "${limit[@]}" --personal "$work/empty.dat" \
    --tokens "$work/$mb.dat" --stdout "$work/a.pas"
done
