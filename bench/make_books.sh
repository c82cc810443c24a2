#!/bin/sh
# Makes the books for the memory measurements in FOLDER (outside the project):
#   large.fb2   the corpus book hpmorru__hpmor_ru.fb2 with its body repeated TIMES times (default 10)
#   picture.fb2 a short book with one <binary> of MB megabytes of random bytes (default 64)
# bench/make_books.sh BOOK FOLDER [TIMES] [MB]
set -eu
book=$1
folder=$2
times=${3:-10}
mb=${4:-64}
mkdir -p "$folder"

# Byte offsets of the body's content: after "<body>" up to "</body>".
start=$(grep -b -o '<body>' "$book" | head -n 1 | cut -d: -f1)
end=$(grep -b -o '</body>' "$book" | head -n 1 | cut -d: -f1)
start=$((start + 6))
{
    head -c "$start" "$book"
    i=0
    while [ "$i" -lt "$times" ]; do
        tail -c +"$((start + 1))" "$book" | head -c "$((end - start))"
        i=$((i + 1))
    done
    tail -c +"$((end + 1))" "$book"
} > "$folder/large.fb2"

{
    printf '<?xml version="1.0" encoding="UTF-8"?>\n'
    printf '<FictionBook xmlns:l="http://www.w3.org/1999/xlink"><description><title-info>'
    printf '<book-title>One picture</book-title></title-info></description>\n'
    printf '<body><section><p><image l:href="#big.bin"/></p></section></body>\n'
    printf '<binary id="big.bin" content-type="application/octet-stream">\n'
    head -c "$((mb * 1024 * 1024))" /dev/urandom | base64 -w 76
    printf '</binary>\n</FictionBook>\n'
} > "$folder/picture.fb2"
ls -l "$folder/large.fb2" "$folder/picture.fb2"
