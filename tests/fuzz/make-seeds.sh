#!/usr/bin/env bash
# Builds the fuzzer's seed corpus into OUT: the hand-made books beside this script and the real books of
# CORPUS (default ../shared/corpus beside the checkout), large books cut into slices, each behind a few
# option headers (see FuzzTarget.h).
#   tests/fuzz/make-seeds.sh OUT [CORPUS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:?usage: make-seeds.sh OUT [CORPUS]}"
corpus="${2:-$here/../../../shared/corpus}"
slice=32768
mkdir -p "$out"

headers=('\x00\x00\x00\x00' '\xfb\x0d\x00\xff' '\x8a\x0e\x07\xaa' '\xe3\x07\x00\x55')

add() { # name, then the book's bytes on stdin
    local name="$1" body i=0
    body="$(mktemp)"
    cat > "$body"
    for h in "${headers[@]}"; do
        { printf "$h"; cat "$body"; } > "$out/$name.$i"
        i=$((i + 1))
    done
    rm -f "$body"
}

for book in "$here"/books/*.fb2; do
    add "own-$(basename "$book" .fb2)" < "$book"
done

if [ -d "$corpus" ]; then
    for book in "$corpus"/*.fb2; do
        name="$(basename "$book" .fb2)"
        size=$(stat -c %s "$book")
        if [ "$size" -le "$slice" ]; then
            add "$name" < "$book"
        else
            # The start (header, first sections) and a slice from the end (last sections, binaries).
            head -c "$slice" "$book" | add "$name-head"
            tail -c "$slice" "$book" | add "$name-tail"
        fi
    done
else
    echo "make-seeds.sh: no corpus at $corpus; only the hand-made books" >&2
fi
echo "make-seeds.sh: $(ls "$out" | wc -l) seeds in $out" >&2
