#!/usr/bin/env bash
# The manual pages as built: each renders without a warning from the formatter, has the
# sections a user looks for, and names every option its program's --help names.
# Usage: man-pages.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
sections=("NAME" "SYNOPSIS" "DESCRIPTION" "OPTIONS" "EXIT STATUS" "FILES" "EXAMPLES" "SEE ALSO")

checked=0
for page in "$build"/packaging/man/*.1.gz; do
  prog=$(basename "$page" .1.gz)
  [ -x "$build/bin/$prog" ] || continue
  checked=$((checked + 1))
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$prog.1: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | col -b)
  for s in "${sections[@]}"; do
    grep -q "^$s\$" <<< "$text" || fail "$prog.1 has no section $s"
  done
  help=$(QT_QPA_PLATFORM=offscreen "$build/bin/$prog" --help)
  options=$( { grep -oE -- '--[a-z0-9][a-z0-9-]*' <<< "$help"
               grep -oE -- '^ +-[A-Za-z0-9]([ ,]|$)' <<< "$help" | tr -d ' ,'; } | sort -u)
  for o in $options; do
    grep -qE -- "(^|[^-A-Za-z0-9])$o([^A-Za-z0-9-]|\$)" <<< "$text" || fail "$prog.1 does not name $o"
  done
done
[ $checked -gt 0 ] || fail "no manual page found under $build/packaging/man"
exit $failed
