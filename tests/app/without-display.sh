#!/usr/bin/env bash
# The desktop program started where no display can be opened: one line on standard error that
# says it needs one and names parvex-list, exit status 2, no abort, and nothing written into the
# user's folders.
# Usage: without-display.sh PARVEX
set -uo pipefail
parvex=$1
tmp=$(mktemp -d /tmp/parvex-no-display.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failed=0

# A display number no X server listens on.
free=90
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done
printf 'program p;\nbegin\nend.\n' > "$tmp/p.pas"

# name | environment (besides HOME and XDG folders in the temporary folder) | arguments
cases=(
  "nothing set||"
  "nothing set, a file to take in||$tmp/p.pas"
  "a display nobody serves|DISPLAY=:$free|"
  "the X11 platform asked for, no display|QT_QPA_PLATFORM=xcb|"
  "a display nobody serves, platform given as an option|DISPLAY=:$free|-platform xcb $tmp/p.pas"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name vars args <<< "$c"
  home=$tmp/home
  rm -rf "$home"
  mkdir -p "$home"
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" \
      XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" $vars \
      timeout 60 "$parvex" $args > "$tmp/out" 2> "$tmp/err"
  status=$?
  lines=$(wc -l < "$tmp/err")
  problem=""
  [ $status -eq 2 ] || problem="exit status $status, not 2"
  [ -z "$problem" ] && [ "$lines" -ne 1 ] && problem="$lines lines on standard error, not one"
  [ -z "$problem" ] && ! grep -q 'needs a display' "$tmp/err" && problem="no word of the display"
  [ -z "$problem" ] && ! grep -q 'parvex-list' "$tmp/err" && problem="parvex-list not named"
  [ -z "$problem" ] && [ -s "$tmp/out" ] && problem="something on standard output"
  [ -z "$problem" ] && [ -n "$(ls -A "$home")" ] && problem="wrote into the user's folders"
  if [ -n "$problem" ]; then
    echo "FAIL ($name): $problem" >&2
    sed 's/^/  stderr: /' "$tmp/err" >&2
    failed=1
  fi
done
exit $failed
