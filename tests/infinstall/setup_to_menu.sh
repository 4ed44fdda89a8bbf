#!/usr/bin/env bash
# The road of a player, headless: KARVELO-setup.run → infinstall's prompts (answered with
# xdotool) → the installed folder and the desktop entry → the game started from the entry the
# way a desktop does (gio launch) in its folder → installing again keeps the highscores → the
# entry's uninstall action removes everything. Once as root (system-wide), once as a member of
# group sudo who is not root (for that user).
#
# Runs in a private mount namespace (installation_steps.sh), so the machine itself is never changed.
#
#   setup_to_menu.sh SETUP_FILE PACKAGING_DIR SCREEN_PROBE PKEXEC_STAND_IN
set -euo pipefail

setup_source=$1
packaging=$2
probe=$3
pkexec_stand_in=$4
. "$(dirname "$0")/installation_steps.sh"

# --- system-wide, as root ----------------------------------------------------------------
kv_step "installing as root"
run_setup first
entry=/usr/share/applications/KARVELO.desktop
check_installed /opt/KARVELO 666 "$entry" /var/lib/infinstall
cmp -s /opt/KARVELO/P1.dat "$packaging/P1.dat" || kv_fail "P1.dat is not the shipped one"

kv_step "starting KARVELO from its entry"
launch_from_entry /opt/KARVELO "$entry"

kv_step "installing again over a changed highscore table"
printf 'Rang 1: a player of this machine' | dd of=/opt/KARVELO/P1.dat conv=notrunc status=none
cp /opt/KARVELO/P1.dat "$work/P1.changed"
run_setup again
cmp -s /opt/KARVELO/P1.dat "$work/P1.changed" || kv_fail "installing again replaced the players' P1.dat"
check_installed /opt/KARVELO 666 "$entry" /var/lib/infinstall

# A player without rights chooses the entry's uninstall action: without polkit, or with the
# password refused, a message says who can remove KARVELO and how, before any question, and
# nothing changes; once an administrator agrees (the stand-in does what pkexec then does), the
# usual question and closing message follow and everything is removed.
kv_step "a player removes the system-wide installation from the menu"
mkdir -p "$work/no-polkit" "$work/polkit-refuses" "$work/polkit-agrees" "$work/player"
printf '#!/bin/sh\nexit 126\n' >"$work/polkit-refuses/pkexec"
chmod 755 "$work/polkit-refuses/pkexec"
install -o 0 -g 0 -m 4755 "$pkexec_stand_in" "$work/polkit-agrees/pkexec"
chown 4243:4243 "$work/player"
player() {
  local path=$1
  shift
  setpriv --reuid=4243 --regid=4243 --clear-groups --inh-caps=-all \
    env -i HOME="$work/player" DISPLAY="$DISPLAY" PATH="$path" QT_QPA_PLATFORM=xcb "$@"
}
places="/opt /usr/share/applications /var/lib/infinstall /usr/share/polkit-1/actions"
# shellcheck disable=SC2086
before=$(state $places)
read_uninstall_command "$entry"
for polkit in no-polkit polkit-refuses; do
  : >"$work/uninstall.log"
  player "$work/$polkit" "${uninstall_command[@]}" >>"$work/uninstall.log" 2>&1 &
  pid=$!
  kv_started+=("$pid")
  answer '^KARVELO$' Return  # the only window: who can remove KARVELO
  kv_wait_for "the refused uninstallation to end" 120 kv_exited "$pid"
  for words in "Nur ein Administrator kann KARVELO entfernen." \
    "sudo /var/lib/infinstall/inf/infinstall advpack,LaunchINFSection /var/lib/infinstall/inf/KARV10G1.INF,DefaultUninstall"; do
    grep -qF -- "$words" "$work/uninstall.log" || kv_fail "$polkit: no message '$words': $(cat "$work/uninstall.log")"
  done
  # shellcheck disable=SC2086
  [ "$(state $places)" = "$before" ] || kv_fail "$polkit: the refused uninstallation changed something"
done
uninstall "$entry" player "$work/polkit-agrees"
# shellcheck disable=SC2086
for folder in $places; do
  [ -z "$(ls -A "$folder")" ] || kv_fail "$folder still holds $(ls -A "$folder")"
done

# --- for one user, a member of group sudo who is not root --------------------------------
admin_gid=""
for group in sudo wheel admin; do
  admin_gid=$(getent group "$group" | cut -d: -f3) && [ -n "$admin_gid" ] && break
done
[ -n "$admin_gid" ] || kv_fail "this machine has none of the groups sudo, wheel, admin"
home="$work/home"
mkdir -p "$home" "$work/runtime-user"
chmod 700 "$work/runtime-user"
chown 4242:4242 "$home" "$work/runtime-user"
as_user() {
  setpriv --reuid=4242 --regid=4242 --groups="$admin_gid" --inh-caps=-all \
    env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$work/runtime-user" "$@"
}

kv_step "installing for a user"
run_setup first as_user
data="$home/.local/share"
check_installed "$data/KARVELO" 644 "$data/applications/KARVELO.desktop" "$data/infinstall"
[ "$(stat -c %u "$data/KARVELO/kv5")" = 4242 ] || kv_fail "the user's copy of kv5 is not the user's"
for folder in /opt /usr/share/applications /var/lib/infinstall; do
  [ -z "$(ls -A "$folder")" ] || kv_fail "a user's installation wrote to $folder"
done

kv_step "starting the user's KARVELO from its entry"
launch_from_entry "$data/KARVELO" "$data/applications/KARVELO.desktop" as_user

kv_step "uninstalling for the user"
uninstall "$data/applications/KARVELO.desktop" as_user
left=$(find "$home" \( -name '*KARVELO*' -o -name '*infinstall*' \) -print)
[ -z "$left" ] || kv_fail "left behind: $left"
kv_step "done"
