#!/usr/bin/env bash
# A maintainer's build sets CFLAGS, CXXFLAGS, CPPFLAGS and LDFLAGS in the environment (as
# dpkg-buildflags gives them): configured so, the game's compile and link lines carry them, with
# the maintainer's fortification level instead of ours, and our hardening besides.
#
#   environment_flags.sh SOURCE_DIR
set -euo pipefail
source=$1
. "$(dirname "$0")/../support/e2e.sh"
kv_work_dir /tmp/kv-environment-flags.XXXXXX
work=$kv_work

env CFLAGS="-DKV_FROM_CFLAGS" CXXFLAGS="-DKV_FROM_CXXFLAGS" \
    CPPFLAGS="-DKV_FROM_CPPFLAGS -D_FORTIFY_SOURCE=3" LDFLAGS="-Wl,--defsym=kv_from_ldflags=0" \
  cmake -S "$source" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_BENCH=OFF \
    -DKV_BUILD_TESTS=OFF >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }

# The compile line of kv5's main and the link lines of kv5 and its sound module.
main=$(python3 -c 'import json, sys
print(next(e["command"] for e in json.load(open(sys.argv[1])) if e["file"].endswith("/game/main.cpp")))' \
  "$work/build/compile_commands.json")
kv5_link=$(cat "$work/build/game/CMakeFiles/kv5.dir/link.txt")
module_link=$(cat "$work/build/game/ui/sound/CMakeFiles/kv5_sound.dir/link.txt")
c_flags=$(sed -n 's/^CMAKE_C_FLAGS:STRING=//p' "$work/build/CMakeCache.txt")

has() { grep -qF -e "$2" <<<"$1"; }
while read -r what line pattern want; do
  case "$line" in
    main) text=$main ;; kv5_link) text=$kv5_link ;; module_link) text=$module_link ;; c_flags) text=$c_flags ;;
  esac
  if has "$text" "$pattern"; then found=yes; else found=no; fi
  [ "$found" = "$want" ] || kv_note_failure "$what: '$pattern' $( [ "$want" = yes ] && echo missing from || echo found in ) $line"
done <<'TABLE'
CXXFLAGS main -DKV_FROM_CXXFLAGS yes
CPPFLAGS main -DKV_FROM_CPPFLAGS yes
CFLAGS-only-for-C main -DKV_FROM_CFLAGS no
their-fortify main -D_FORTIFY_SOURCE=3 yes
no-second-fortify main -D_FORTIFY_SOURCE=2 no
our-stack-protector main -fstack-protector-strong yes
our-stack-clash main -fstack-clash-protection yes
CPPFLAGS-for-C c_flags -DKV_FROM_CPPFLAGS yes
CFLAGS-for-C c_flags -DKV_FROM_CFLAGS yes
LDFLAGS-program kv5_link --defsym=kv_from_ldflags=0 yes
our-bindnow kv5_link -z,now yes
LDFLAGS-module module_link --defsym=kv_from_ldflags=0 yes
TABLE

kv_finish "the build takes the environment's flags"
