# The steps the end-to-end scripts of infinstall share: sourced after they set `setup_source`,
# `packaging` and `probe`. Re-runs the script in a private mount namespace with tmpfs over /opt,
# polkit's actions, /usr/share/applications and /var/lib/infinstall, so the machine itself is
# never changed; starts a private Xvfb (framebuffer in $work/fb) and offers the dialog helpers.
# Needs root (exit 77 otherwise).
. "$(dirname "${BASH_SOURCE[0]}")/../support/e2e.sh"
kv_need_root_or_skip "its private mount namespace"
kv_enter_private_mounts "$@"

kv_work_dir /tmp/kv-setup-to-menu.XXXXXX
work=$kv_work
chmod 755 "$work"
# polkit's actions folder is where a system-wide installation puts its action.
for folder in /opt /usr/share/polkit-1/actions /usr/share/applications /var/lib/infinstall; do
  kv_private_tmpfs "$folder" mode=0755
done

mkdir "$work/fb"
kv_start_xvfb -fbdir "$work/fb"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime-root"
mkdir -m 700 "$XDG_RUNTIME_DIR"
screen="$work/fb/Xvfb_screen0"

cp "$setup_source" "$work/KARVELO-setup.run"
chmod 755 "$work/KARVELO-setup.run"

# --- dialogs -------------------------------------------------------------------------------
# A visible window of infinstall (or of the program whose path matches $program) whose title
# matches `pattern`, not answered yet, in kv_window. Uninstalling removes the running program's
# own file: "… (deleted)".
infinstall_window() { kv_find_window "$1" "${program:-*/*infinstall*}"; }

# The dialog is centred on the 1024 × 768 screen and the capture of the whole screen shows it
# drawn there, with text on it.
dialog_drawn() {
  local X Y WIDTH HEIGHT SCREEN geometry
  # A window may close between being found and being looked at.
  geometry=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$geometry"
  [ $((X - (1024 - WIDTH) / 2)) -ge -2 ] && [ $((X - (1024 - WIDTH) / 2)) -le 2 ] || return 1
  [ $((Y - (768 - HEIGHT) / 2)) -ge -2 ] && [ $((Y - (768 - HEIGHT) / 2)) -le 2 ] || return 1
  "$probe" "$screen" "$X" "$Y" "$WIDTH" "$HEIGHT"
}

infinstall_dialog_drawn() { infinstall_window "$1" && dialog_drawn "$kv_window"; }

# Waits for the dialog, checks it on the screen, gives it the keyboard and types `keys`.
answer() {
  local title=$1
  shift
  kv_wait_for "the dialog '$title', centred and drawn" "${KV_E2E_WAIT:-180}" infinstall_dialog_drawn "$title"
  kv_type_into_window "$@"
}

# --- checks --------------------------------------------------------------------------------
# Kind, mode, owner, link target and content of everything below each folder.
state() {
  local folder
  for folder in "$@"; do
    (cd "$folder" && find . -printf '%p %y %m %U %l\n' | sort && find . -type f -exec sha256sum {} + | sort)
  done
}
expect_mode() { [ "$(stat -c %a "$2")" = "$1" ] || kv_fail "$2 has mode $(stat -c %a "$2"), not $1"; }

check_installed() {
  local folder=$1 p1mode=$2 entry=$3 store=$4
  for f in kv5 libkv5-sound.so; do expect_mode 755 "$folder/$f"; done
  for f in karvelo.png LIESMICH.TXT README.TXT sounds/sound{1,2,3,4,5,6,7}.wav; do expect_mode 644 "$folder/$f"; done
  expect_mode "$p1mode" "$folder/P1.dat"
  cmp -s "$folder/kv5" "$packaging/kv5" || kv_fail "$folder/kv5 is not the shipped kv5"
  expect_mode 755 "$store/inf/infinstall"
  [ "$(head -c 8 "$folder/karvelo.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || kv_fail "karvelo.png is no PNG"
  grep -qx "InstallDir1=$folder" "$store/registry" || kv_fail "the registry does not name $folder"
  desktop-file-validate "$entry" || kv_fail "$entry is not a valid desktop entry"
  grep -qx "Exec=$folder/kv5" "$entry" && grep -qx "Path=$folder" "$entry" &&
    grep -qx "Icon=$folder/karvelo.png" "$entry" && grep -qx "Categories=Game;BoardGame;" "$entry" ||
    kv_fail "$entry does not start $folder/kv5 in its folder: $(cat "$entry")"
}

# Starts the game from its entry as a desktop would, sees its window and its working folder.
launch_from_entry() {
  local folder=$1 entry=$2
  shift 2
  kv_launch_entry "$entry" "$folder/kv5" "$work/gio.log" "$@"
  local pid=$kv_found_pid
  kv_wait_for "kv5's window" 120 kv_has_window "$pid"
  [ "$(readlink "/proc/$pid/cwd")" = "$folder" ] || kv_fail "kv5 runs in $(readlink "/proc/$pid/cwd"), not $folder"
  kv_stop "$pid" kv5
}

# Runs the setup and answers infinstall: begin prompt, folder prompt (the offered folder),
# and on a re-installation the overwrite warning.
run_setup() {
  local again=$1
  shift
  mkdir -p "$work/tmp"
  chmod 1777 "$work/tmp"
  "$@" env TMPDIR="$work/tmp" "$work/KARVELO-setup.run" >>"$work/setup.log" 2>&1 &
  local pid=$!
  kv_started+=("$pid")
  answer '^KARVELO$' Return
  answer 'Zielordner$' Return
  [ "$again" = again ] && answer '^KARVELO$' Return
  answer '^KARVELO$' Return  # "KARVELO ist jetzt installiert."
  kv_wait_for "the setup to end" 180 kv_exited "$pid"
  [ -z "$(ls -A "$work/tmp")" ] || kv_fail "the setup left $(ls -A "$work/tmp") behind"
}

# The command of the entry's uninstall action, in `uninstall_command`.
uninstall_command=()
read_uninstall_command() {
  read -r -a uninstall_command <<<"$(sed -n '/^\[Desktop Action item1\]/,/^\[/s/^Exec=//p' "$1")"
}

uninstall() {
  local entry=$1
  shift
  read_uninstall_command "$entry"
  "$@" "${uninstall_command[@]}" >>"$work/uninstall.log" 2>&1 &
  local pid=$!
  kv_started+=("$pid")
  answer '^KARVELO$' Return   # the question
  answer '^KARVELO$' Return   # "KARVELO wurde entfernt."
  kv_wait_for "the uninstallation to end" 120 kv_exited "$pid"
}
