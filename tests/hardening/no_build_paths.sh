#!/usr/bin/env bash
# The programs name no folder of the build machine, not even in their debug information: two
# builds of the same sources in different folders give the same files, build IDs included (the
# ID is a hash over the whole linked file). The full comparison of two packages built in two
# folders is bench/debian/two-folders.sh.
#
#   no_build_paths.sh SOURCE_DIR BINARY_DIR PROGRAM...
set -euo pipefail
source=$1 binary=$2
shift 2
. "$(dirname "$0")/../support/e2e.sh"
for program in "$@"; do
  for folder in "$source" "$binary"; do
    if grep -qaF -- "$folder" "$program"; then
      kv_note_failure "$program names $folder:"
      strings -a "$program" | grep -F -- "$folder" | sort -u | head -5
    fi
  done
done
kv_finish "no build folder in $*"
