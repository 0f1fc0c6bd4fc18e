#!/usr/bin/env bash
# Writes the seed corpus of the bitmap pack fuzzer: packs made by the
# framework's converter (through kapack) from a few of the BMP seeds.
#   bash fuzz/make_pack_seeds.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
kapack=$build/assets/kapack
out=$root/fuzz/corpus/bitmap_pack
# Picture names, folder included, are short: the pictures go into a folder
# beside kapack.
work=$(mktemp -d "$build/assets/seedsXXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

pack() {  # NAME BMP...
    local name=$1
    shift
    rm -f "$work"/*
    for bmp in "$@"; do cp "$root/fuzz/corpus/bmp/$bmp" "$work/"; done
    "$kapack" "$out/$name" "$work"
}
pack one.pak rgb24.bmp
pack three.pak pal1.bmp rgb16.bmp rle8.bmp
pack mixed.pak core24.bmp pal8_topdown.bmp v5_alpha32.bmp bitfields16.bmp
# The same picture twice: the first copy is the one found.
pack twice.pak rgb24.bmp
"$kapack" --append "$out/twice.pak" "$work"
ls -l "$out"
