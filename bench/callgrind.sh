#!/bin/sh
# Instruction counts of one conversion (GOPROCESS only, process start excluded), for comparing code
# changes on a busy machine: bench/callgrind.sh BUILD_DIR BOOK [papyrant-cli options...]
set -eu
build=$1
book=$2
shift 2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect='GOPROCESS*' \
    "$build/bin/papyrant-cli" -q --yes --binaries "$@" -d "$out" "$book" 2>&1 | grep -E 'Collected' || true
callgrind_annotate "$out/cg" 2>/dev/null | sed -n '/file:function/,$p' | head -25
