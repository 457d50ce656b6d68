#!/usr/bin/env bash
# The installed program, as a user meets it: install into a prefix, make the prefix read-only,
# start parvex (offscreen) with HOME and the XDG folders in a temporary folder, close it, and
# find the settings file and the log in the user's folders and nothing written under the prefix.
# A second start keeps a setting changed in between; parvex-list from the prefix lists a file.
# Then the README's per-user install (prefix ~/.local), run twice: the second install keeps the
# user's own token file and colour schemes, and the system knows the Pascal file-name patterns.
# Usage: installed-run.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d /tmp/parvex-install-test.XXXXXX)
cleanup() { chmod -R u+w "$tmp" 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
chmod -R a-w "$prefix"
find "$prefix" -printf '%p %s %T@\n' | sort > "$tmp/prefix-before.txt"

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/config XDG_DATA_HOME=$tmp/home/data
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
cd "$tmp"
settings=$XDG_CONFIG_HOME/parvex/parvex.INI
log=$XDG_DATA_HOME/parvex/Data/Logfile.txt

# Starts parvex (from $1, default the prefix), waits until its log is open (the window is up),
# then ends it with SIGTERM, which closes the window the polite way.
start_and_close() {
  local bin=${1:-$prefix/bin}
  local before=0
  [ -f "$log" ] && before=$(stat -c %s "$log")
  "$bin/parvex" > "$tmp/parvex.out" 2>&1 &
  local pid=$! waited=0
  until [ -f "$log" ] && [ "$(stat -c %s "$log")" -gt "$before" ]; do
    kill -0 $pid 2>/dev/null || { cat "$tmp/parvex.out" >&2; fail "parvex ended by itself"; }
    waited=$((waited + 1))
    [ $waited -le 600 ] || { kill -9 $pid; fail "parvex did not open its log within 60 s"; }
    sleep 0.1
  done
  kill -TERM $pid
  local status=0
  wait $pid || status=$?
  [ $status -eq 0 ] || { cat "$tmp/parvex.out" >&2; fail "parvex exited with $status"; }
}

start_and_close
[ -f "$settings" ] || fail "no settings file in $XDG_CONFIG_HOME/parvex"
[ -f "$log" ] || fail "no log in $XDG_DATA_HOME/parvex/Data"
[ -f "$XDG_DATA_HOME/parvex/Dont/Tokens-Personal.dat" ] || fail "installation data not seeded"
grep -q "Proper END" "$log" || fail "the log has no end line: the program did not close normally"
find "$prefix" -printf '%p %s %T@\n' | sort > "$tmp/prefix-after.txt"
cmp -s "$tmp/prefix-before.txt" "$tmp/prefix-after.txt" || {
  diff "$tmp/prefix-before.txt" "$tmp/prefix-after.txt" >&2; fail "something was written under the prefix"; }

# A setting changed between two starts is kept by the second.
grep -q '^fb_se_Days_Value=' "$settings" || fail "the settings file has no fb_se_Days_Value"
sed -i 's/^fb_se_Days_Value=.*/fb_se_Days_Value=9\r/' "$settings"
start_and_close
grep -q $'^fb_se_Days_Value=9\r$' "$settings" || fail "the changed setting was not kept"

# The command line from the prefix lists a file with the user's personal tokens.
printf 'PROGRAM p;\r\nBEGIN\r\nEND.\r\n' > "$tmp/p.pas"
"$prefix/bin/parvex-list" --quiet --case lower "$tmp/p.pas" || fail "parvex-list failed"
grep -q '^program p;' "$tmp/p.pas" || fail "parvex-list did not rewrite the file"
[ -f "$tmp/p.pas-SAVED" ] || fail "parvex-list kept no backup"
"$prefix/bin/parvex" --version | grep -q '^parvex ' || fail "parvex --version"
"$prefix/bin/parvex-list" --version | grep -q '^parvex-list ' || fail "parvex-list --version"

# The README's per-user install, as a user with the default XDG folders does it twice: the
# installation data shares ~/.local/share/parvex/ with the user's own files.
export HOME=$tmp/user
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME"
data=$HOME/.local/share/parvex
log=$data/Data/Logfile.txt
cmake --install "$build" --prefix "$HOME/.local" >/dev/null 2>&1
start_and_close "$HOME/.local/bin"
for f in Dont/Tokens-Personal.dat GUI/Data/Predef.dat; do
  [ -f "$data/$f" ] || fail "the per-user install seeded no $f"
done
# The user adds a token and stores a colour scheme of their own.
printf 'mine\n' >> "$data/Dont/Tokens-Personal.dat"
grep '^Classic|' "$data/GUI/Data/Predef.dat" | sed 's/^Classic|/Mine|/' >> "$data/GUI/Data/Predef.dat"
for f in Dont/Tokens-Personal.dat GUI/Data/Predef.dat; do
  cp "$data/$f" "$tmp/kept-$(basename "$f")"
done
cmake --install "$build" --prefix "$HOME/.local" >/dev/null 2>&1
for f in Dont/Tokens-Personal.dat GUI/Data/Predef.dat; do
  cmp -s "$data/$f" "$tmp/kept-$(basename "$f")" || fail "installing again replaced the user's $f"
done
printf 'PROGRAM p;\r\nVAR MINE: integer;\r\nBEGIN\r\nEND.\r\n' > "$tmp/q.pas"
"$HOME/.local/bin/parvex-list" --quiet "$tmp/q.pas" || fail "parvex-list failed after the second install"
grep -q ' mine: ' "$tmp/q.pas" || fail "parvex-list did not use the user's token file"
# The program may sort its tables when it writes them; the user's rows stay.
start_and_close "$HOME/.local/bin"
grep -q '^mine' "$data/Dont/Tokens-Personal.dat" || fail "the user's token is gone after a start"
grep -q '^Mine|' "$data/GUI/Data/Predef.dat" || fail "the user's colour scheme is gone after a start"

# "Open with" offers the program for every Pascal source name the install adds to text/x-pascal,
# as the desktop's file managers ask the shared MIME database (the GNOME way: gio). An include
# file keeps its generic type: .inc names files of other languages too.
printf 'unit u;\ninterface\nimplementation\nend.\n' > "$tmp/u.pas"
for ext in pp dpr lpr inc; do cp "$tmp/u.pas" "$tmp/u.$ext"; done
for ext in pas pp dpr lpr inc; do
  type=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$tmp/u.$ext")
  want=text/x-pascal
  [ $ext = inc ] && want=text/plain
  [ "$type" = "$want" ] || fail "u.$ext is $type, not $want"
done
