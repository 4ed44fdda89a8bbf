#!/usr/bin/env bash
# Builds the Debian package from two clones of one commit in two different folders (preset
# default) and compares the two packages byte for byte. When they differ it says which files
# inside differ, with the build IDs of the programs among them.
#
#   bench/debian/two-folders.sh [COMMIT]      (HEAD unless given; takes two full builds)
set -euo pipefail
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse "${1:-HEAD}")
work=$(mktemp -d /tmp/kv-two-folders.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Different names and depths, so that no path in the results can be the same by chance.
folders=("$work/one" "$work/a-second/folder-of-another-length")
for folder in "${folders[@]}"; do
  git clone -q --no-checkout "$repo" "$folder"
  git -C "$folder" checkout -q "$commit"
  echo "== building $commit in $folder"
  start=$SECONDS
  (cd "$folder" && cmake --preset default >"$work/configure.log" 2>&1 &&
     cmake --build build --target deb_package -j2 >"$work/build.log" 2>&1) ||
    { tail -30 "$work/configure.log" "$work/build.log"; exit 1; }
  echo "   $((SECONDS - start)) s"
done

first=$(echo "${folders[0]}"/build/karvelo_*.deb) second=$(echo "${folders[1]}"/build/karvelo_*.deb)
if cmp -s "$first" "$second"; then
  echo "the packages are the same: $(sha256sum <"$first" | cut -d' ' -f1) ($(stat -c %s "$first") bytes)"
  exit 0
fi
echo "the packages differ"
for i in 0 1; do dpkg-deb -R "$(echo "${folders[$i]}"/build/karvelo_*.deb)" "$work/unpacked$i"; done
diff -rq "$work/unpacked0" "$work/unpacked1" | while read -r _ a _ b _; do
  echo "  ${a#"$work"/unpacked0/}"
  file -b "$a" | grep -q ELF &&
    echo "    build IDs $(readelf -n "$a" | awk '/Build ID/ { print $3 }') and $(readelf -n "$b" | awk '/Build ID/ { print $3 }')"
done
exit 1
