#!/usr/bin/env bash
# What the Debian package holds: every file with its mode and owner, the control fields, a
# Depends that names exactly the packages whose libraries the game and its sound module load,
# the desktop entry and the AppStream metainfo as the validators see them, the shipped
# highscore table and sounds as the build made them.
#
#   check_contents.sh DEB EXPECTED_LIST P1DAT SOUNDS_DIR
set -euo pipefail
deb=$1 expected=$2 p1dat=$3 sounds=$4
. "$(dirname "$0")/../support/e2e.sh"
kv_work_dir /tmp/kv-deb-contents.XXXXXX
work=$kv_work

dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }' >"$work/contents"
diff -u "$expected" "$work/contents" || kv_note_failure "the package's files differ from $expected (- expected, + found)"

field() { dpkg-deb -f "$deb" "$1"; }
for pair in Package=karvelo Version=1.01-1 Architecture=amd64 Section=games Priority=optional \
            Maintainer="KARVELO-Team <karvelo@karvelo.org>"; do
  [ "$(field "${pair%%=*}")" = "${pair#*=}" ] || kv_note_failure "${pair%%=*} is '$(field "${pair%%=*}")', not '${pair#*=}'"
done
[ "$(field Description | wc -l)" -ge 5 ] || kv_note_failure "the description has no long part"

dpkg -x "$deb" "$work/root"
# The packages that hold the libraries the two binaries name, through the host's loader cache.
needed_packages() {
  local lib path
  for lib in $(objdump -p "$work/root/usr/lib/karvelo/kv5" "$work/root/usr/lib/karvelo/libkv5-sound.so" |
               awk '$1 == "NEEDED" { print $2 }' | sort -u); do
    path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ { print $NF; exit }')
    [ -n "$path" ] || { echo "?$lib"; continue; }
    # dpkg knows each file by one of its names, with /usr or without (the merged /usr).
    for candidate in "$path" "$(readlink -f "$path")"; do
      for name in "$candidate" "${candidate#/usr}" "/usr$candidate"; do
        dpkg -S "$name" 2>/dev/null && break 2
      done
    done | cut -d: -f1 | head -1
  done | sort -u
}
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | sort -u)
needed=$(needed_packages)
[ "$depends" = "$needed" ] || kv_note_failure "Depends names $(echo $depends), the binaries load libraries of $(echo $needed)"
for p in libqt6widgets6 libpulse0; do
  grep -qx "$p" <<<"$depends" || kv_note_failure "Depends lacks $p"
done
# The sound plays through the server's own client library: Qt Multimedia would bring FFmpeg and
# GStreamer along.
if grep -qx libqt6multimedia6 <<<"$depends"; then kv_note_failure "Depends names libqt6multimedia6"; fi

desktop-file-validate "$work/root/usr/share/applications/org.karvelo.Karvelo.desktop" ||
  kv_note_failure "desktop-file-validate refuses the desktop entry"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.karvelo.Karvelo.metainfo.xml" ||
  kv_note_failure "appstreamcli refuses the metainfo"
metainfo=$work/root/usr/share/metainfo/org.karvelo.Karvelo.metainfo.xml
for tag in '<name>' '<summary>' '<summary xml:lang="de">' '<p>' '<p xml:lang="de">' \
           '<content_rating type="oars-1.1"/>' '<release version="1.01"'; do
  grep -qF "$tag" "$metainfo" || kv_note_failure "the metainfo lacks $tag"
done
entry=$work/root/usr/share/applications/org.karvelo.Karvelo.desktop
grep -qx 'Exec=/usr/games/kv5' "$entry" || kv_note_failure "the desktop entry does not start the launcher"
# The icon theme's files (contents.txt) are named after the application id, as the entry and the
# metainfo name the icon.
grep -qx 'Icon=org.karvelo.Karvelo' "$entry" || kv_note_failure "the desktop entry's icon is not named after the application id"
grep -qF '<icon type="stock">org.karvelo.Karvelo</icon>' "$metainfo" || kv_note_failure "the metainfo names another icon"

cmp "$work/root/usr/share/games/karvelo/P1.dat" "$p1dat" || kv_note_failure "the shipped P1.dat is not a fresh one"
for n in 1 2 3 4 5 6 7; do
  cmp "$work/root/usr/share/games/karvelo/sounds/sound$n.wav" "$sounds/sound$n.wav" || kv_note_failure "sound$n.wav differs"
done
sh -n "$work/root/usr/games/kv5" || kv_note_failure "the launcher is no valid sh script"

kv_finish "the package's contents are as expected"
