#!/usr/bin/env bash
# The setup's installation: the entry infinstall writes from the shipped INF for the game in
# STAGE, and the game started from it, belong together (window_identity.sh).
#
#   setup_window_identity.sh SETUP_ENTRY INF STAGE
set -euo pipefail
applications=$(mktemp -d /tmp/kv-setup-entry.XXXXXX)
trap 'rm -rf "$applications"' EXIT
entry=$("$1" "$2" "$3" "$applications")
"$(dirname "$0")/window_identity.sh" "$entry" "$3/kv5"
