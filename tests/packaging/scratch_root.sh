#!/usr/bin/env bash
# The package installed with dpkg into a scratch root, and the launcher at work: the files are
# where dpkg put them with their modes; the game, started by the launcher as a player on a
# private Xvfb, runs in the player's own folder with a copy of the shipped table and the
# sounds, loads its sound module from beside itself and plays a move; started from the package's
# menu entry, its window belongs to that entry on X and under Wayland; a table the player has is
# kept; a player without a usable home gets a German message. Removing the package leaves only
# dpkg's own records, purging forgets it.
#
# The launcher's paths are absolute, so it runs in a private mount namespace where the scratch
# root's /usr lies over the machine's. Needs root (exit 77 otherwise).
#
#   scratch_root.sh DEB KV5_ONE_MOVE P1DAT WINDOW_IDENTITY
set -euo pipefail

. "$(dirname "$0")/../support/e2e.sh"
kv_need_root_or_skip "dpkg --root and a private mount namespace"
kv_enter_private_mounts "$@"
deb=$1 one_move=$2 p1dat=$3 window_identity=$4

kv_work_dir /tmp/kv-deb-root.XXXXXX
work=$kv_work
chmod 755 "$work"

kv_step "dpkg --root installs the package"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# The scratch root holds no Qt: its Depends are the machine's business here.
dpkg --root="$root" --force-depends --force-script-chrootless -i "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; kv_fail "dpkg could not install the package"; }
[ "$(dpkg-query --root="$root" -W -f='${Status}' karvelo)" = "install ok installed" ] ||
  kv_fail "dpkg does not record karvelo as installed"
# Every file dpkg lists is there with the package's mode, owned by root.
while read -r path; do
  [ -e "$root$path" ] || kv_fail "$path is listed but missing"
  [ -d "$root$path" ] && continue
  want=$(dpkg-deb -c "$deb" | awk -v p=".$path" '$6 == p { print $1 }')
  have=$(stat -c %A "$root$path")
  [ "$have" = "$want" ] || kv_fail "$path has mode $have, the package says $want"
  [ "$(stat -c %U:%G "$root$path")" = root:root ] || kv_fail "$path is not root's"
done < <(dpkg-query --root="$root" -L karvelo)

kv_step "the launcher starts the game for a player on Xvfb"
kv_mount -t overlay overlay -o "lowerdir=$root/usr:/usr" /usr
home=$work/home
mkdir -p "$home"
chown 4242:4242 "$home"
as_player() {
  setpriv --reuid=4242 --regid=4242 --clear-groups --inh-caps=-all \
    env -i HOME="$home" PATH=/usr/bin:/bin:/usr/games "$@"
}
expect_played() { # LOG FOLDER
  grep -qx "working folder: $2" "$1" || kv_fail "the game did not run in $2: $(cat "$1")"
  grep -q ' of /usr/lib/karvelo/kv5$' "$1" || kv_fail "the window is not the packaged kv5's: $(cat "$1")"
  grep -qx 'sound modules: /usr/lib/karvelo/libkv5-sound.so' "$1" ||
    kv_fail "kv5 did not load its sound module from /usr/lib/karvelo: $(cat "$1")"
}

# A relative XDG_DATA_HOME is ignored: the folder goes to ~/.local/share.
folder=$home/.local/share/karvelo
as_player XDG_DATA_HOME=relative/data "$one_move" /usr/games/kv5 >"$work/first.log" 2>&1 ||
  kv_fail "the first game did not play a move: $(cat "$work/first.log")"
expect_played "$work/first.log" "$folder"
cmp -s "$folder/P1.dat" "$p1dat" || kv_fail "the player's P1.dat is not the shipped one"
[ "$(stat -c %a:%u "$folder/P1.dat")" = 644:4242 ] || kv_fail "the player's P1.dat is $(stat -c %a:%u "$folder/P1.dat")"
[ "$(readlink "$folder/sounds")" = /usr/share/games/karvelo/sounds ] || kv_fail "sounds is not the link to the shipped sounds"
[ -f "$folder/sounds/sound7.wav" ] || kv_fail "the sounds cannot be reached from the player's folder"
[ -z "$(find "$folder" -name '*.new')" ] || kv_fail "a half-made table was left behind"

kv_step "the running game belongs to the package's menu entry"
as_player "$window_identity" /usr/share/applications/org.karvelo.Karvelo.desktop /usr/lib/karvelo/kv5 \
  >"$work/identity.log" 2>&1 || kv_fail "$(cat "$work/identity.log")"
tail -1 "$work/identity.log"

kv_step "a player's own table is kept, in \$XDG_DATA_HOME"
data=$home/data
mkdir -p "$data/karvelo"
printf 'Rang 1: the player' | dd of="$data/karvelo/P1.dat" status=none
cat "$p1dat" >>"$data/karvelo/P1.dat"
cp "$data/karvelo/P1.dat" "$work/P1.kept"
chown -R 4242:4242 "$data"
as_player XDG_DATA_HOME="$data" "$one_move" /usr/games/kv5 >"$work/second.log" 2>&1 ||
  kv_fail "the second game did not play a move: $(cat "$work/second.log")"
expect_played "$work/second.log" "$data/karvelo"
cmp -s "$data/karvelo/P1.dat" "$work/P1.kept" || kv_fail "the launcher replaced the player's own table"

kv_step "a player whose folder cannot be made is told so"
for home_case in "" /proc/no-home; do
  status=0
  setpriv --reuid=4242 --regid=4242 --clear-groups env -i ${home_case:+HOME=$home_case} \
    /usr/games/kv5 >"$work/refused.log" 2>&1 || status=$?
  [ "$status" -eq 1 ] || kv_fail "HOME='$home_case': the launcher ended with $status, not 1"
  grep -q '^kv5: .*\(nicht gesetzt\|kann nicht angelegt werden\)' "$work/refused.log" ||
    kv_fail "HOME='$home_case': no German message: $(cat "$work/refused.log")"
done
kv_unmount /usr

kv_step "removing leaves only dpkg's records, purging forgets the package"
dpkg --root="$root" --force-script-chrootless -r karvelo >>"$work/dpkg.log" 2>&1 || kv_fail "dpkg could not remove it"
left=$(cd "$root" && find . -mindepth 1 ! -path './var' ! -path './var/lib' ! -path './var/lib/dpkg*')
[ -z "$left" ] || kv_fail "removing left $left"
dpkg --root="$root" --force-script-chrootless -P karvelo >>"$work/dpkg.log" 2>&1 || kv_fail "dpkg could not purge it"
[ -z "$(dpkg-query --root="$root" -W karvelo 2>/dev/null)" ] || kv_fail "dpkg still knows karvelo after the purge"
kept=$(find "$root/var/lib/dpkg/info" -name 'karvelo*')
[ -z "$kept" ] || kv_fail "dpkg keeps $kept"
kv_step "done"
