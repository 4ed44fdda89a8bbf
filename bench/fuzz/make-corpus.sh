#!/usr/bin/env bash
# Rebuilds the seed corpus: tiny packages made by mkpackage, each without its 35,328-byte
# image slot (the fuzz target puts that back), so every seed stays below 2 KB.
#   bench/fuzz/make-corpus.sh [BUILD_DIR]      (default: build)
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${1:-$repo/build}")"
cmake --build "$build" --target mkpackage -j2 >/dev/null
mkpackage="$build/tools/mkpackage/mkpackage"
corpus="$repo/bench/fuzz/corpus"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

printf '\177ELF' > "$tmp/image"
printf 'KARVELO readme\r\nZeile zwei\r\n' > "$tmp/readme.txt"
seq 1 120 | tr '\n' ' ' > "$tmp/numbers.txt"
: > "$tmp/empty"
common=(--image "$tmp/image" --product KARVELO --inf KARV10G1.INF --notice "Hinweis"
        --time "2024-05-17 13:45:30" --seed 1)
files=("readme.txt=$tmp/readme.txt" "sounds\\sound1.wav=$tmp/numbers.txt" "empty=$tmp/empty")

seed() { # name, extra options...
  local name=$1
  shift
  "$mkpackage" "${common[@]}" --out "$tmp/$name.run" "$@" "${files[@]}" >/dev/null
  tail -c +35329 "$tmp/$name.run" > "$corpus/$name"
}

mkdir -p "$corpus"
seed stored --store
seed deflate --deflate --welcome "Willkommen" --licence "Lizenz" --keep-open --hide-info
seed encrypted --password fuzz
seed encrypted-wrong --password other --check-by-time
seed descriptor --descriptors --password fuzz
seed end-record --end-record=comment
ls -l "$corpus"
