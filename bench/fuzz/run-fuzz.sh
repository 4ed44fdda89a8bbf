#!/usr/bin/env bash
# Builds the package fuzz target with clang's libFuzzer and the address and undefined-behaviour
# sanitizers (outside the CMake build) and runs it for the given number of seconds.
#   bench/fuzz/run-fuzz.sh [SECONDS]            (default: 60)
# Findings land in $FUZZ_DIR/artifacts (default FUZZ_DIR=/tmp/kv-fuzz); the seed corpus in
# bench/fuzz/corpus is copied, never changed.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
dir="${FUZZ_DIR:-/tmp/kv-fuzz}"
mkdir -p "$dir/corpus" "$dir/artifacts"

# clang with its libFuzzer and sanitizer runtimes, and zlib's headers.
missing=()
for p in clang libclang-rt-14-dev zlib1g-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

sources=("$repo"/setup/platform/*.cpp "$repo"/setup/package/*.cpp "$repo"/setup/archive/*.cpp)
clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$repo" "${sources[@]}" "$repo/bench/fuzz/fuzz_package.cpp" \
  -lz -o "$dir/fuzz_package"

cp -n "$repo"/bench/fuzz/corpus/* "$dir/corpus/"
export KV_FUZZ_ROOT="$dir/root"
rm -rf "$KV_FUZZ_ROOT"
trap 'rm -rf "$KV_FUZZ_ROOT"' EXIT
"$dir/fuzz_package" "$dir/corpus" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/artifacts/"
