#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer and the address and undefined-behaviour sanitizers
# (outside the CMake build) and runs it for the given number of seconds.
#   bench/fuzz/run-fuzz.sh [SECONDS] [TARGET]      (default: 60 package)
# TARGET is `package` (the setup's header, completeness check and archive walk) or `highscore`
# (a hostile P1.dat read, shown, ranked into and written back) or `inf` (a hostile INF read,
# every section it names asked and planned against scratch places). Findings land in
# $FUZZ_DIR/artifacts (default FUZZ_DIR=/tmp/kv-fuzz for the package, /tmp/kv-fuzz-highscore for
# the highscore file, /tmp/kv-fuzz-inf for the INF); the seed corpus in the repository is
# copied, never changed.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
target="${2:-package}"
. "$repo/tests/support/e2e.sh"

case "$target" in
  package)
    dir="${FUZZ_DIR:-/tmp/kv-fuzz}"
    seeds="$repo/bench/fuzz/corpus"
    sources=("$repo"/common/{text,package_format,posix}/*.cpp "$repo"/setup/platform/*.cpp
             "$repo"/setup/package/*.cpp "$repo"/setup/archive/*.cpp)
    libraries=(-lz)
    max_len=8192
    ;;
  highscore)
    dir="${FUZZ_DIR:-/tmp/kv-fuzz-highscore}"
    seeds="$repo/bench/fuzz/highscore-corpus"
    sources=("$repo"/common/{text,posix}/*.cpp
             "$repo"/game/highscore/{ansi_text,date_text,highscore_file,highscore_record,highscore_table}.cpp)
    libraries=()
    max_len=1024
    ;;
  inf)
    dir="${FUZZ_DIR:-/tmp/kv-fuzz-inf}"
    seeds="$repo/bench/fuzz/inf-corpus"
    sources=("$repo"/infinstall/core/{desktop_entry,folder_check,inf_file,install_plan,placeholders,polkit_policy,registry}.cpp)
    libraries=()
    max_len=8192
    ;;
  *)
    echo "unknown fuzz target: $target (package, highscore or inf)" >&2
    exit 2
    ;;
esac
mkdir -p "$dir/corpus" "$dir/artifacts"

# clang with its libFuzzer and sanitizer runtimes, and zlib's headers.
kv_install_missing clang libclang-rt-14-dev zlib1g-dev

clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$repo" "${sources[@]}" \
  "$repo/bench/fuzz/fuzz_$target.cpp" "${libraries[@]}" -o "$dir/fuzz_$target"

cp -n "$seeds"/* "$dir/corpus/"
export KV_FUZZ_ROOT="$dir/root"
rm -rf "$KV_FUZZ_ROOT"
trap 'rm -rf "$KV_FUZZ_ROOT"' EXIT
"$dir/fuzz_$target" "$dir/corpus" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/artifacts/"
