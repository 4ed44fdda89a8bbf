#!/usr/bin/env bash
# Assembles the Debian package from the build's files, the way Debian's own helpers would:
# binaries stripped (dh_strip), modes set (dh_fixperms), manual pages and the changelog
# compressed (dh_compress), Depends from dpkg-shlibdeps, the control file from dpkg-gencontrol,
# md5sums, and dpkg-deb with root as every file's owner.
#
#   make-deb.sh OUT.deb WORK SOURCE KV5 SOUND_MODULE P1DAT SOUNDS ICONS DOCS STRIP
#
# SOURCE is this folder; ICONS holds NxN/org.karvelo.Karvelo.png and scalable/org.karvelo.Karvelo.svg; DOCS holds LIESMICH.TXT and README.TXT.
set -euo pipefail

[ $# -eq 10 ] || { echo "usage: make-deb.sh OUT.deb WORK SOURCE KV5 SOUND_MODULE P1DAT SOUNDS ICONS DOCS STRIP" >&2; exit 2; }
out=$1 work=$2 source=$3 kv5=$4 module=$5 p1dat=$6 sounds=$7 icons=$8 docs=$9 strip=${10}

umask 022
rm -rf "$work"
root=$work/root
mkdir -p "$root/DEBIAN" "$work/debian"

put() { # MODE FILE TARGET
  install -D -m "$1" "$2" "$root/$3"
}

# The game and its sound module stay together: kv5 loads the module from its own folder.
mkdir -p "$root/usr/lib/karvelo"
"$strip" --remove-section=.comment --remove-section=.note -o "$root/usr/lib/karvelo/kv5" "$kv5"
"$strip" --remove-section=.comment --remove-section=.note --strip-unneeded \
  -o "$root/usr/lib/karvelo/libkv5-sound.so" "$module"
chmod 0755 "$root/usr/lib/karvelo/kv5"
chmod 0644 "$root/usr/lib/karvelo/libkv5-sound.so"
put 0755 "$source/kv5.sh" usr/games/kv5

put 0644 "$p1dat" usr/share/games/karvelo/P1.dat
for n in 1 2 3 4 5 6 7; do
  put 0644 "$sounds/sound$n.wav" "usr/share/games/karvelo/sounds/sound$n.wav"
done

put 0644 "$source/org.karvelo.Karvelo.desktop" usr/share/applications/org.karvelo.Karvelo.desktop
put 0644 "$source/org.karvelo.Karvelo.metainfo.xml" usr/share/metainfo/org.karvelo.Karvelo.metainfo.xml
# The icons are named after the application id, as the desktop entry and the metainfo name it.
for icon in "$icons"/*/org.karvelo.Karvelo.*; do
  size=$(basename "$(dirname "$icon")")
  put 0644 "$icon" "usr/share/icons/hicolor/$size/apps/$(basename "$icon")"
done

mkdir -p "$root/usr/share/man/man6" "$root/usr/share/man/de/man6"
gzip -9n -c "$source/kv5.6" >"$root/usr/share/man/man6/kv5.6.gz"
gzip -9n -c "$source/kv5.de.6" >"$root/usr/share/man/de/man6/kv5.6.gz"

doc=usr/share/doc/karvelo
put 0644 "$source/copyright" "$doc/copyright"
put 0644 "$source/README.Debian" "$doc/README.Debian"
put 0644 "$docs/LIESMICH.TXT" "$doc/LIESMICH.TXT"
put 0644 "$docs/README.TXT" "$doc/README.TXT"
gzip -9n -c "$source/changelog" >"$root/$doc/changelog.Debian.gz"
put 0644 "$source/lintian-overrides" usr/share/lintian/overrides/karvelo
find "$root/usr" -type f -name '*.gz' -exec chmod 0644 {} +

# dpkg-shlibdeps and dpkg-gencontrol read debian/control and debian/changelog in the folder they
# run in.
cp "$source/control" "$work/debian/control"
cp "$source/changelog" "$work/debian/changelog"
(
  cd "$work"
  dpkg-shlibdeps -Tdebian/substvars root/usr/lib/karvelo/kv5 root/usr/lib/karvelo/libkv5-sound.so
  dpkg-gencontrol -pkarvelo -Proot -Tdebian/substvars
  cd root
  find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums
)
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -type d -exec chmod 0755 {} +

# The files' times are the changelog's, so that two builds of the same sources are the same.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$work/debian/changelog" -STimestamp)
find "$root" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --build "$root" "$out" >/dev/null
echo "Wrote $out"
