#!/usr/bin/env bash
# Rewrites a few real Free Pascal units and programs in upper case with END remarks, then
# compiles them again: the rewritten text must still be the same program.
set -euo pipefail
exe=$1
src=/usr/share/fpcsrc/3.2.2
files=(packages/hash/src/md5.pp packages/hash/src/crc.pas packages/hash/src/sha1.pp
       packages/paszlib/src/adler.pas packages/fcl-base/examples/b64enc.pp
       packages/fcl-base/examples/list.pp)
command -v fpc >/dev/null || { echo "fpc is missing: run scripts/install-deps"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
: > "$tmp/personal.dat"
failed=0
remarks=0
for f in "${files[@]}"; do
  name=$(basename "$f")
  dir="$tmp/${name%.*}"
  mkdir -p "$dir"
  cp "$src/$f" "$dir/$name"
  "$exe" --quiet --case upper --personal "$tmp/personal.dat" "$dir/$name"
  if ! grep -q "BEGIN" "$dir/$name"; then
    echo "FAIL $f: not rewritten"; failed=1; continue
  fi
  remarks=$((remarks + $(grep -c "{ of [A-Za-z0-9_]* }" "$dir/$name" || true)))
  if fpc -Fi"$src/$(dirname "$f")" -FE"$dir" "$dir/$name" > "$dir/fpc.log" 2>&1; then
    echo "ok   $f"
  else
    echo "FAIL $f: does not compile after the rewrite"; tail -5 "$dir/fpc.log"; failed=1
  fi
done
if [ "$remarks" -eq 0 ]; then echo "FAIL: no END remark was written"; failed=1; fi
echo "$remarks END remarks written"
exit $failed
