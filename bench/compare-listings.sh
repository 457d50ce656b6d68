#!/usr/bin/env bash
# Lists one tree with two builds of parvex-list (an older one and this one) under each case option
# and compares every file they write, byte for byte. Differing results are sorted by why they may
# differ: a source with a text block (''') or a backtick literal, one with a caret before a single
# letter (a control character such as ^M, or a pointer to a one-letter type: its letter is left
# as written), a source whose last line has no line end or that ends with ^Z, or none of these
# (which is a fault of the newer build).
# Usage: bench/compare-listings.sh OLD_PARVEX_LIST NEW_PARVEX_LIST [TREE] [PERSONAL_TOKEN_FILE]
set -euo pipefail
old=${1:?old parvex-list}
new=${2:?new parvex-list}
tree=${3:-/usr/share/fpcsrc/3.2.2}
root=$(cd "$(dirname "$0")/.." && pwd)
personal=${4:-$root/data/Dont/Tokens-Personal.dat}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Why a source may be listed differently by the newer build; empty when it may not.
reason() {
    local src=$1
    if grep -q "'''" "$src" || grep -q '`' "$src"; then
        echo "text block or backtick literal"
    elif grep -qE '\^[A-Za-z]([^A-Za-z0-9_]|$)' "$src"; then
        echo "caret and one letter"
    elif [[ -s $src && $(tail -c 1 "$src" | od -An -tx1 | tr -d ' ') != 0a ]]; then
        echo "last line without a line end, or ^Z last"
    fi
}

faults=0
for c in stored upper lower first capitalize; do
    opts=(--personal "$personal" --quiet -j 2)
    [[ $c != stored ]] && opts+=(--case "$c")
    rm -rf "$work/old" "$work/new"
    "$old" "${opts[@]}" --out "$work/old" "$tree" 2> "$work/old.err" || true
    "$new" "${opts[@]}" --no-config --out "$work/new" "$tree" 2> "$work/new.err" || true
    files=$(cd "$work/old" && find . -type f | wc -l)
    diff -rq "$work/old" "$work/new" | sed -E 's/^Files (.*) and .* differ$/\1/' > "$work/differ" || true
    explained=0 unexplained=0
    while read -r f; do
        [[ -z $f ]] && continue
        rel=${f#"$work/old/"}
        # A result file names its source: NAME.pas, NAME.pas-SAVED is not written with --out,
        # NAME.Alpha-Constants belongs to NAME.pas, NAME.inc-Alpha-Constants to NAME.inc.
        src="" base=$rel
        for list in Alpha-Constants Numeric-Constats Alpha-Cross-Ref Numeric-Cross-Ref Token-Cross-Ref; do
            base=${base%".$list"}
            base=${base%"-$list"}
        done
        for cand in "$tree/$rel" "$tree/$base.pas" "$tree/$base"; do
            [[ -f $cand ]] && src=$cand && break
        done
        why=$([[ -n $src ]] && reason "$src" || true)
        if [[ -n $why ]]; then
            explained=$((explained + 1))
        else
            unexplained=$((unexplained + 1))
            echo "  differs without a reason: $rel"
        fi
    done < "$work/differ"
    only=$(diff -rq "$work/old" "$work/new" | grep -c '^Only in' || true)
    printf '%-10s %6d files written, %4d differ with a reason, %4d differ without, %d only in one\n' \
        "$c" "$files" "$explained" "$unexplained" "$only"
    faults=$((faults + unexplained + only))
    if ! cmp -s <(sort "$work/old.err") <(sort "$work/new.err"); then
        echo "  messages differ:"
        diff <(sort "$work/old.err") <(sort "$work/new.err") | head -20 | sed 's/^/    /'
    fi
done
exit $((faults > 0))
