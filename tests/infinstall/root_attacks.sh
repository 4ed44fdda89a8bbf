#!/usr/bin/env bash
# A local user (uid 4242, no privileges) tries to steer a system-wide installation that root
# makes with KARVELO-setup.run and removes with the menu entry's action: Qt plugins and a
# qt.conf planted beside the programs and named in the environment sudo -E keeps, the work
# folder's name taken, links planted in the chosen folder's path, folders swapped between two
# questions, a work folder or an INF path the user can re-point, pkexec asked for more than the
# menu entry's uninstall. Each attack must run no planted code, change nothing outside the
# installation's places, install nothing the package did not carry, and end with a message.
#
#   root_attacks.sh SETUP_FILE PACKAGING_DIR SCREEN_PROBE PLANTED_PLUGINS_DIR PKEXEC_STAND_IN
set -euo pipefail

setup_source=$1
packaging=$2
probe=$3
planted=$4
pkexec_stand_in=$5
. "$(dirname "$0")/installation_steps.sh"

kv_private_tmpfs /srv mode=0755
mkdir -m 755 /srv/rootonly /srv/rootonly/sounds /srv/t
printf "root's own\n" >/srv/rootonly/README.TXT
printf "root's own program\n" >/srv/rootonly/kv5
printf "root's own sound\n" >/srv/rootonly/sounds/sound1.wav
install -d -o 4242 -g 4242 /srv/u
attacker() { setpriv --reuid=4242 --regid=4242 --clear-groups --inh-caps=-all "$@"; }

places() { state /opt /usr/share/applications /var/lib/infinstall /srv/rootonly /srv/t; }

# Every planted plugin leaves a marker here when it is loaded, whoever loads it.
export KV_PLANTED_MARKERS="$work/markers"
mkdir -m 1777 "$KV_PLANTED_MARKERS" "$work/tmp"
no_planted_code_ran() {
  [ -z "$(ls -A "$KV_PLANTED_MARKERS")" ] || kv_fail "planted code ran: $(ls "$KV_PLANTED_MARKERS")"
}

# A folder anyone may write to, as /tmp, where root put the setup, kv5 and infinstall. The user
# plants an image format plugin and a platform theme beside them, and a qt.conf that moves
# Qt's plugins to a folder of theirs with an X11 platform of their own.
downloads="$work/downloads"
mkdir -m 1777 "$downloads"
cp "$work/KARVELO-setup.run" "$packaging/kv5" "$packaging/infinstall" "$downloads/"
evil="$downloads/evil/plugins"
mkdir -p "$downloads/imageformats" "$downloads/platformthemes" "$evil/platforms" "$evil/platformthemes" "$evil/imageformats"
cp "$planted/libplanted_image.so" "$downloads/imageformats/"
cp "$planted/libplanted_theme.so" "$downloads/platformthemes/"
cp "$planted/libplanted_platform.so" "$evil/platforms/libqxcb.so"
cp "$planted/libplanted_theme.so" "$evil/platformthemes/"
cp "$planted/libplanted_image.so" "$evil/imageformats/"
# And a sound module of theirs beside kv5, which it would load at its first sound.
cp "$planted/libplanted_image.so" "$downloads/libkv5-sound.so"
printf '[Paths]\nPrefix=%s/evil\n' "$downloads" >"$downloads/qt.conf"
chown -R 4242:4242 "$downloads/imageformats" "$downloads/platformthemes" "$downloads/evil" "$downloads/qt.conf" \
  "$downloads/libkv5-sound.so"
# What sudo -E would keep of the user's environment.
hostile_environment=(QT_PLUGIN_PATH="$evil" QT_QPA_PLATFORM_PLUGIN_PATH="$evil/platforms"
  QT_QPA_PLATFORMTHEME=generic XDG_DATA_DIRS="$downloads/evil:/usr/share" GTK_MODULES="$evil/gtk.so")
# The work folder's name, taken in the shared temporary folder.
attacker mkdir "$work/tmp/\$Pakorix.Tmp"

start_setup() {
  env TMPDIR="$1" "${hostile_environment[@]}" "$downloads/KARVELO-setup.run" >>"$work/setup.log" 2>&1 &
  setup_pid=$!
  kv_started+=("$setup_pid")
}

# Types `folder` into the folder prompt and presses OK; the prompt's window is $prompt.
choose_folder() {
  answer 'Zielordner$' ctrl+a
  prompt=$kv_window
  xdotool type --delay 5 "$1"
  xdotool key --clearmodifiers Return
}

# The chosen folder is refused with a message; cancelling the prompt ends the setup.
refused_in_prompt() {
  answer 'Zielordner$' Return  # the message over the prompt
  xdotool windowfocus --sync "$prompt"
  xdotool key --clearmodifiers Escape
  kv_wait_for "the setup to end" 120 kv_exited "$setup_pid"
}

# Gives /srv/t to the user, who puts a link to root's folder in place of the installation.
hand_over_and_swap() {
  chown 4242 /srv/t
  attacker mv /srv/t/KARVELO /srv/t/old
  attacker ln -s /srv/rootonly /srv/t/KARVELO
}
take_back() {
  rm /srv/t/KARVELO
  mv /srv/t/old /srv/t/KARVELO
  chown 0 /srv/t
}

# --- the attacks ---------------------------------------------------------------------------
# A link to root's folder, planted by `who` at `link`; the folder chosen is `folder`.
link_in_path() {
  local who=$1 link=$2 folder=$3
  $who ln -s /srv/rootonly "$link"
  start_setup "$work/tmp"
  answer '^KARVELO$' Return
  choose_folder "$folder"
  refused_in_prompt
  rm "$link"
}
link_in_users_folder() { link_in_path attacker /srv/u/KARVELO /srv/u/KARVELO; }
link_higher_up() { link_in_path "" /srv/link /srv/link/KARVELO; }

swap_between_prompt_and_copying() {
  start_setup "$work/tmp"
  answer '^KARVELO$' Return
  answer 'Zielordner$' Return  # the recorded /srv/t/KARVELO
  kv_wait_for "the overwrite warning" 120 infinstall_dialog_drawn '^KARVELO$'
  hand_over_and_swap
  answer '^KARVELO$' Return  # OK to overwriting
  answer '^KARVELO$' Return  # the failure
  kv_wait_for "the setup to end" 120 kv_exited "$setup_pid"
  take_back
}

swap_during_uninstall() {
  read_uninstall_command /usr/share/applications/KARVELO.desktop
  "${uninstall_command[@]}" >>"$work/uninstall.log" 2>&1 &
  local pid=$!
  kv_started+=("$pid")
  kv_wait_for "the uninstall question" 120 infinstall_dialog_drawn '^KARVELO$'
  hand_over_and_swap
  answer '^KARVELO$' Return  # yes, remove
  answer '^KARVELO$' Return  # the refusal
  kv_wait_for "the uninstallation to end" 120 kv_exited "$pid"
  take_back
}

work_folder_in_users_folder() {
  attacker mkdir -m 755 /srv/u/tmp
  start_setup /srv/u/tmp
  # The setup's own message, over its main window.
  program='*/KARVELO-setup.run' kv_wait_for "the setup's refusal" 120 infinstall_window '^Error in directory \.\.$'
  kv_type_into_window Return
  kv_wait_for "the setup to end" 120 kv_exited "$setup_pid"
  [ -z "$(ls -A /srv/u/tmp)" ] || kv_fail "the setup left $(ls -A /srv/u/tmp) in the user's folder"
  rm -rf /srv/u/tmp
}

# The setup's work folder renamed and replaced by the user's own after the setup held it: the
# genuine infinstall runs in the held folder with the path that now names the user's folder.
inf_path_re_pointed() {
  local held
  held=$(mktemp -d /srv/held.XXXXXX)
  cp "$packaging"/* "$held"
  attacker mkdir -p '/srv/u/tmp/$Pakorix.Tmp'
  attacker cp /usr/bin/whoami '/srv/u/tmp/$Pakorix.Tmp/kv5'
  attacker cp /usr/bin/id '/srv/u/tmp/$Pakorix.Tmp/infinstall'
  attacker cp "$packaging/KARV10G1.INF" '/srv/u/tmp/$Pakorix.Tmp/'
  (cd "$held" && exec ./infinstall advpack,LaunchINFSection '/srv/u/tmp/$Pakorix.Tmp/KARV10G1.INF,DefaultInstall2.ntx86') \
    >>"$work/infinstall.log" 2>&1 &
  local pid=$!
  kv_started+=("$pid")
  answer '^infinstall$' Return
  kv_wait_for "infinstall to end" 120 kv_exited "$pid"
  rm -rf "$held" /srv/u/tmp
}

# The player asks pkexec (a stand-in for it, setuid root, as once the administrator has typed the
# password) to run the kept infinstall for more than the uninstall.
pkexec_for() {
  env -i DISPLAY="$DISPLAY" PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb KV_PLANTED_MARKERS="$KV_PLANTED_MARKERS" \
    setpriv --reuid=4242 --regid=4242 --clear-groups --inh-caps=-all \
    "$work/setuid/pkexec" /var/lib/infinstall/inf/infinstall advpack,LaunchINFSection "$1" >>"$work/infinstall.log" 2>&1 &
  local pid=$!
  kv_started+=("$pid")
  answer '^infinstall$' Return  # the refusal, and no folder prompt before it
  kv_wait_for "infinstall to end" 120 kv_exited "$pid"
}
pkexec_install() { pkexec_for /var/lib/infinstall/inf/KARV10G1.INF,DefaultInstall2; }
pkexec_empty_section() { pkexec_for /var/lib/infinstall/inf/KARV10G1.INF,DefaultInstallX; }
pkexec_other_inf() {
  attacker cp "$packaging/KARV10G1.INF" /srv/u/
  pkexec_for /srv/u/KARV10G1.INF,DefaultUninstall
  rm /srv/u/KARV10G1.INF
}

# Root starts infinstall and kv5 from the folder with the planted plugins.
programs_beside_planted_plugins() {
  (cd "$downloads" && exec env "${hostile_environment[@]}" ./infinstall) >>"$work/infinstall.log" 2>&1 &
  local pid=$!
  kv_started+=("$pid")
  answer '^infinstall$' Return  # how to call it
  kv_wait_for "infinstall to end" 120 kv_exited "$pid"
  # In the installed game's folder, where its sounds are.
  (cd /srv/t/KARVELO && exec env "${hostile_environment[@]}" "$downloads/kv5") >>"$work/kv5.log" 2>&1 &
  local kv5_pid=$!
  kv_started+=("$kv5_pid")
  kv_wait_for "kv5's window" 120 kv_has_window "$kv5_pid"
  sleep 1  # the start sound
  kv_stop "$kv5_pid" kv5
}

# --- one root installation the swaps work on ---------------------------------------------------
kv_step "installing as root into /srv/t/KARVELO"
start_setup "$work/tmp"
answer '^KARVELO$' Return
choose_folder /srv/t/KARVELO
answer '^KARVELO$' Return  # installed
kv_wait_for "the setup to end" 180 kv_exited "$setup_pid"
check_installed /srv/t/KARVELO 666 /usr/share/applications/KARVELO.desktop /var/lib/infinstall
no_planted_code_ran
[ "$(ls -A "$work/tmp")" = '$Pakorix.Tmp' ] || kv_fail "the setup left $(ls -A "$work/tmp") in the temporary folder"
mkdir "$work/setuid"
install -o 0 -g 0 -m 4755 "$pkexec_stand_in" "$work/setuid/pkexec"

# Each attack with the words its message must contain (the log keeps what infinstall showed).
attacks=(
  "link_in_users_folder|/srv/u gehört dem Benutzer mit der Nummer 4242, nicht root."
  "link_higher_up|/srv/link ist eine symbolische Verknüpfung"
  "swap_between_prompt_and_copying|/srv/t gehört dem Benutzer mit der Nummer 4242, nicht root."
  "swap_during_uninstall|Der Ordner /srv/t/KARVELO kann hier nicht verwendet werden"
  "work_folder_in_users_folder|"
  "inf_path_re_pointed|kann nicht sicher gelesen werden"
  "programs_beside_planted_plugins|Unbekannter Aufruf: infinstall"
  "pkexec_install|Verlangt wurde:"
  "pkexec_empty_section|/var/lib/infinstall/inf/KARV10G1.INF,DefaultInstallX"
  "pkexec_other_inf|LaunchINFSection /srv/u/KARV10G1.INF,DefaultUninstall"
)
for attack in "${attacks[@]}"; do
  name=${attack%%|*} message=${attack#*|}
  kv_step "attack: $name"
  before=$(places)
  : >"$work/messages.log"
  "$name"
  cat "$work"/{setup,uninstall,infinstall}.log 2>/dev/null >"$work/messages.log" || true
  [ "$(places)" = "$before" ] || kv_fail "$name changed the places: $(diff <(echo "$before") <(places) | head -20)"
  [ -z "$message" ] || grep -qF -- "$message" "$work/messages.log" || kv_fail "$name: no message '$message'"
  no_planted_code_ran
  : >"$work/setup.log"; : >"$work/uninstall.log"; : >"$work/infinstall.log"
done
cmp -s /srv/t/KARVELO/kv5 "$packaging/kv5" || kv_fail "the installed kv5 is not the shipped one"

# A member of group sudo installs for themselves from the same folder, the work folder's name
# taken by a link this time: their installation works and runs no code of the other user's.
kv_step "a user installs from the folder with the planted plugins"
admin_gid=$(getent group sudo | cut -d: -f3)
install -d -o 4243 -g 4243 "$work/home" "$work/runtime-user"
chmod 700 "$work/runtime-user"
rmdir "$work/tmp/\$Pakorix.Tmp"
attacker ln -s /srv/rootonly "$work/tmp/\$Pakorix.Tmp"
before=$(places)
setpriv --reuid=4243 --regid=4243 --groups="$admin_gid" --inh-caps=-all \
  env -i HOME="$work/home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb TMPDIR="$work/tmp" \
  XDG_RUNTIME_DIR="$work/runtime-user" KV_PLANTED_MARKERS="$KV_PLANTED_MARKERS" "${hostile_environment[@]}" \
  "$downloads/KARVELO-setup.run" >>"$work/setup.log" 2>&1 &
user_setup=$!
kv_started+=("$user_setup")
answer '^KARVELO$' Return
answer 'Zielordner$' Return
answer '^KARVELO$' Return  # installed
kv_wait_for "the user's setup to end" 180 kv_exited "$user_setup"
check_installed "$work/home/.local/share/KARVELO" 644 "$work/home/.local/share/applications/KARVELO.desktop" \
  "$work/home/.local/share/infinstall"
no_planted_code_ran
[ "$(places)" = "$before" ] || kv_fail "the user's installation changed the system's places"
kv_step "done"
