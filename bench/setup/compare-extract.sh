#!/usr/bin/env bash
# Times the extraction of ~300 MB of mixed files: our setup core (kv_extract) against bsdtar,
# Info-ZIP unzip, 7-Zip and a bare zlib floor (floor_extract), plain and encrypted, best of
# three runs each, all in a RAM-backed folder. Also compares the peak memory of kv_extract on
# the large package with that on a tiny one.
#
#   bench/setup/compare-extract.sh [BUILD_DIR]      (default: build)
#
# The archive is made once by Info-ZIP zip and put behind a package header without trailer,
# so its own end record closes the package; the other tools read the bare .zip.
set -euo pipefail

repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${1:-$repo/build}")"
. "$repo/tests/support/e2e.sh"

kv_install_missing libarchive-tools p7zip-full time zip unzip python3
kv_build_targets "$repo" "$build" kv_extract floor_extract mkpackage
kv_extract="$build/bench/setup/kv_extract"
floor_extract="$build/bench/setup/floor_extract"
mkpackage="$build/tools/mkpackage/mkpackage"

base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base="${TMPDIR:-/tmp}"
kv_work_dir "$base/kv-extract-bench.XXXXXX"
work=$kv_work
set_dir="$work/set"
out="$work/out"
mkdir -p "$set_dir/bin"

echo "Building the file set in $work ..."
# Machine code: shared libraries of the system, concatenated to 60 MB each.
libraries() { find /usr/lib /usr/lib64 -type f -name '*.so*' -size +50k 2>/dev/null | sort "$@"; }
libraries | xargs cat 2>/dev/null | head -c 60M > "$set_dir/bin/libgame.so" || true
libraries -r | xargs cat 2>/dev/null | head -c 60M > "$set_dir/bin/kv5-data.bin" || true
head -c 60M /dev/urandom > "$set_dir/bin/sounds.pak"
python3 "$repo/bench/setup/make_texts.py" "$set_dir/doc" 6000 20000
set_bytes=$(du -sb "$set_dir" | cut -f1)
set_files=$(find "$set_dir" -type f | wc -l)

echo "Zipping ($set_files files, $((set_bytes / 1048576)) MB) ..."
(cd "$set_dir" && zip -X -6 -r -q "$work/plain.zip" . && zip -X -6 -r -q -P secret "$work/secret.zip" .)
printf '\177ELF' > "$work/image"
package() { # zip package
  "$mkpackage" --image "$work/image" --out "$2" --product KARVELO --inf KARV10G1.INF \
    --notice "Benchmark" --no-trailer --append-archive "$1" >/dev/null
}
package "$work/plain.zip" "$work/plain.run"
package "$work/secret.zip" "$work/secret.run"
echo tiny > "$work/tiny.txt"
"$mkpackage" --image "$work/image" --out "$work/tiny.run" --inf KARV10G1.INF "tiny.txt=$work/tiny.txt" >/dev/null

# best_of3 LABEL CMD... : prints the best wall time in seconds; the command writes into $out.
best_of3() {
  local best="" start end seconds
  for _ in 1 2 3; do
    rm -rf "$out" && mkdir -p "$out"
    start=$(date +%s%N)
    if ! "$@" >/dev/null 2>"$work/stderr"; then
      echo "FAILED: $*" >&2; cat "$work/stderr" >&2; exit 1
    fi
    end=$(date +%s%N)
    seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$seconds; fi
  done
  echo "$best"
}

peak_rss_kb() { # CMD... : peak resident set of one run, in KB
  rm -rf "$out" && mkdir -p "$out"
  /usr/bin/time -o "$work/rss" -f '%M' "$@" >/dev/null 2>&1
  cat "$work/rss"
}

echo "Checking that kv_extract and floor_extract reproduce the set ..."
rm -rf "$out" && mkdir -p "$out"
"$kv_extract" "$work/secret.run" "$out/kv" secret
diff -r "$set_dir" "$out/kv" >/dev/null || { echo "kv_extract output differs from the set" >&2; exit 1; }
rm -rf "$out" && mkdir -p "$out"
"$floor_extract" "$work/plain.run" "$out/floor"
diff -r "$set_dir" "$out/floor" >/dev/null || { echo "floor_extract output differs from the set" >&2; exit 1; }

echo "Timing (best of 3) ..."
declare -A plain secret
plain[kv_extract]=$(best_of3 "$kv_extract" "$work/plain.run" "$out/kv")
secret[kv_extract]=$(best_of3 "$kv_extract" "$work/secret.run" "$out/kv" secret)
plain[bsdtar]=$(best_of3 bsdtar -xf "$work/plain.zip" -C "$out")
secret[bsdtar]=$(best_of3 bsdtar --passphrase secret -xf "$work/secret.zip" -C "$out")
plain[unzip]=$(best_of3 unzip -o -q "$work/plain.zip" -d "$out")
secret[unzip]=$(best_of3 unzip -o -q -P secret "$work/secret.zip" -d "$out")
plain[7z]=$(best_of3 7z x -y -bd "-o$out" "$work/plain.zip")
secret[7z]=$(best_of3 7z x -y -bd -psecret "-o$out" "$work/secret.zip")
plain[floor_extract]=$(best_of3 "$floor_extract" "$work/plain.run" "$out/floor")
secret[floor_extract]=$(best_of3 "$floor_extract" "$work/secret.run" "$out/floor" secret)

rss_big=$(peak_rss_kb "$kv_extract" "$work/plain.run" "$out/kv")
rss_tiny=$(peak_rss_kb "$kv_extract" "$work/tiny.run" "$out/kv")

echo
echo "Extraction of $set_files files, $((set_bytes / 1048576)) MB ($(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'))"
printf '%-15s %12s %14s %10s\n' tool "plain (s)" "encrypted (s)" "vs bsdtar"
for tool in kv_extract bsdtar unzip 7z floor_extract; do
  ratio=$(awk -v a="${plain[$tool]}" -v b="${plain[bsdtar]}" 'BEGIN { printf "%.2f", a / b }')
  printf '%-15s %12s %14s %10s\n' "$tool" "${plain[$tool]}" "${secret[$tool]}" "$ratio"
done
echo
echo "kv_extract peak RSS: ${rss_big} KB on the large package, ${rss_tiny} KB on a tiny one"
