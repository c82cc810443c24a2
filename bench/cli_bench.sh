#!/bin/sh
# papyrant-cli against pandoc and cp on one book (one hyperfine run), and the peak memory of
# papyrant-cli on that book and on two large books made by make_books.sh.
#   bench/cli_bench.sh BUILD_DIR [BOOK]     (needs hyperfine, pandoc and GNU time: /usr/bin/time)
# RUNS (default 30): runs of papyrant-cli and cp alone; PANDOC_RUNS (default 5): runs of the three.
set -eu
build=$(cd "$1" && pwd)
book=${2:-$(dirname "$0")/../../shared/corpus/hpmorru__hpmor_ru.fb2}
book=$(cd "$(dirname "$book")" && pwd)/$(basename "$book")
runs=${RUNS:-30}
cli=$build/bin/papyrant-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/media"

echo "== time ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
# pandoc takes seconds per run: the three side by side get few runs, papyrant-cli and cp then many.
hyperfine -N --warmup 1 --runs "${PANDOC_RUNS:-5}" \
    "pandoc -f fb2 -t html --extract-media=$work/media $book" \
    "$cli -q --yes --binaries -d $work/out $book" \
    "cp $book $work/copy.fb2"
hyperfine -N --warmup 3 --runs "$runs" \
    "$cli -q --yes --binaries -d $work/out $book" \
    "cp $book $work/copy.fb2"

echo "== peak memory of papyrant-cli"
"$(dirname "$0")/make_books.sh" "$book" "$work/books" 10 64 > /dev/null
for b in "$book" "$work/books/large.fb2" "$work/books/picture.fb2"; do
    rm -rf "$work/out" && mkdir "$work/out"
    size=$(stat -c %s "$b")
    /usr/bin/time -f "%M" -o "$work/rss" "$cli" -q --yes --binaries -d "$work/out" "$b" 2> /dev/null
    echo "$(basename "$b"): $((size / 1048576)) MiB book, peak RSS $(($(cat "$work/rss") / 1024)) MiB"
done
