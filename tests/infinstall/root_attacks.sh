#!/usr/bin/env bash
# A local user (uid 4242, no privileges) tries to steer a system-wide installation that root
# makes with KARVELO-setup.run and removes with the menu entry's action: links planted in the
# chosen folder's path, folders swapped between two questions, a work folder or an INF path the
# user can re-point. Each attack must change nothing outside the installation's places, install
# nothing the package did not carry, and end with a message.
#
#   root_attacks.sh SETUP_FILE PACKAGING_DIR SCREEN_PROBE
set -euo pipefail

setup_source=$1
packaging=$2
probe=$3
. "$(dirname "$0")/e2e_lib.sh"

private_tmpfs /srv
mkdir -m 755 /srv/rootonly /srv/rootonly/sounds /srv/t
printf "root's own\n" >/srv/rootonly/README.TXT
printf "root's own program\n" >/srv/rootonly/kv5
printf "root's own sound\n" >/srv/rootonly/sounds/sound1.wav
install -d -o 4242 -g 4242 /srv/u
attacker() { setpriv --reuid=4242 --regid=4242 --clear-groups --inh-caps=-all "$@"; }

places() { state /opt /usr/share/applications /var/lib/infinstall /srv/rootonly /srv/t; }

start_setup() {
  env TMPDIR="$1" "$work/KARVELO-setup.run" >>"$work/setup.log" 2>&1 &
  setup_pid=$!
  started+=("$setup_pid")
}

# Types `folder` into the folder prompt and presses OK; the prompt's window is $prompt.
choose_folder() {
  answer 'Zielordner$' ctrl+a
  prompt=$found
  xdotool type --delay 5 "$1"
  xdotool key --clearmodifiers Return
}

# The chosen folder is refused with a message; cancelling the prompt ends the setup.
refused_in_prompt() {
  answer 'Zielordner$' Return  # the message over the prompt
  xdotool windowfocus --sync "$prompt"
  xdotool key --clearmodifiers Escape
  wait_for "the setup to end" 120 exited "$setup_pid"
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
link_in_users_folder() {
  attacker ln -s /srv/rootonly /srv/u/KARVELO
  start_setup "$work/tmp"
  answer '^KARVELO$' Return
  choose_folder /srv/u/KARVELO
  refused_in_prompt
  rm /srv/u/KARVELO
}

link_higher_up() {
  ln -s /srv/rootonly /srv/link
  start_setup "$work/tmp"
  answer '^KARVELO$' Return
  choose_folder /srv/link/KARVELO
  refused_in_prompt
  rm /srv/link
}

swap_between_prompt_and_copying() {
  start_setup "$work/tmp"
  answer '^KARVELO$' Return
  answer 'Zielordner$' Return  # the recorded /srv/t/KARVELO
  wait_for "the overwrite warning" 120 infinstall_dialog_drawn '^KARVELO$'
  hand_over_and_swap
  answer '^KARVELO$' Return  # OK to overwriting
  answer '^KARVELO$' Return  # the failure
  wait_for "the setup to end" 120 exited "$setup_pid"
  take_back
}

swap_during_uninstall() {
  local command
  read -r -a command <<<"$(sed -n '/^\[Desktop Action item1\]/,/^\[/s/^Exec=//p' /usr/share/applications/KARVELO.desktop)"
  "${command[@]}" >>"$work/uninstall.log" 2>&1 &
  local pid=$!
  started+=("$pid")
  wait_for "the uninstall question" 120 infinstall_dialog_drawn '^KARVELO$'
  hand_over_and_swap
  answer '^KARVELO$' Return  # yes, remove
  answer '^KARVELO$' Return  # the refusal
  wait_for "the uninstallation to end" 120 exited "$pid"
  take_back
}

work_folder_in_users_folder() {
  attacker mkdir -m 755 /srv/u/tmp
  start_setup /srv/u/tmp
  # The setup's own message, over its main window.
  program='*/KARVELO-setup.run' wait_for "the setup's refusal" 120 infinstall_window '^Error in directory \.\.$'
  xdotool windowfocus --sync "$found"
  xdotool key --clearmodifiers Return
  wait_for "the setup to end" 120 exited "$setup_pid"
  [ -z "$(ls -A /srv/u/tmp)" ] || fail "the setup left $(ls -A /srv/u/tmp) in the user's folder"
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
  started+=("$pid")
  answer '^infinstall$' Return
  wait_for "infinstall to end" 120 exited "$pid"
  rm -rf "$held" /srv/u/tmp
}

# --- one root installation the swaps work on ---------------------------------------------------
step "installing as root into /srv/t/KARVELO"
start_setup "$work/tmp"
answer '^KARVELO$' Return
choose_folder /srv/t/KARVELO
answer '^KARVELO$' Return  # installed
wait_for "the setup to end" 180 exited "$setup_pid"
check_installed /srv/t/KARVELO 666 /usr/share/applications/KARVELO.desktop /var/lib/infinstall

# Each attack with the words its message must contain (the log keeps what infinstall showed).
attacks=(
  "link_in_users_folder|/srv/u gehört dem Benutzer mit der Nummer 4242, nicht root."
  "link_higher_up|/srv/link ist eine symbolische Verknüpfung"
  "swap_between_prompt_and_copying|/srv/t gehört dem Benutzer mit der Nummer 4242, nicht root."
  "swap_during_uninstall|Der Ordner /srv/t/KARVELO kann hier nicht verwendet werden"
  "work_folder_in_users_folder|"
  "inf_path_re_pointed|kann nicht sicher gelesen werden"
)
for attack in "${attacks[@]}"; do
  name=${attack%%|*} message=${attack#*|}
  step "attack: $name"
  before=$(places)
  : >"$work/messages.log"
  "$name"
  cat "$work"/{setup,uninstall,infinstall}.log 2>/dev/null >"$work/messages.log" || true
  [ "$(places)" = "$before" ] || fail "$name changed the places: $(diff <(echo "$before") <(places) | head -20)"
  [ -z "$message" ] || grep -qF -- "$message" "$work/messages.log" || fail "$name: no message '$message'"
  : >"$work/setup.log"; : >"$work/uninstall.log"; : >"$work/infinstall.log"
done
cmp -s /srv/t/KARVELO/kv5 "$packaging/kv5" || fail "the installed kv5 is not the shipped one"
step "done"
