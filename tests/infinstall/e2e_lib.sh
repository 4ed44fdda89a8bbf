# Shared by the end-to-end scripts of infinstall: sourced after they set `setup_source`,
# `packaging` and `probe`. Re-runs the script in a private mount namespace with tmpfs over /opt,
# /usr/share/applications and /var/lib/infinstall, so the machine itself is never changed;
# starts a private Xvfb (framebuffer in $work/fb) and offers the dialog helpers. Needs root
# (exit 77 otherwise).
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: needs root for its private mount namespace"
  exit 77
fi
if [ -z "${KV_E2E_NAMESPACE:-}" ]; then
  exec env KV_E2E_NAMESPACE=1 unshare --mount --propagation private "$0" "$@"
fi

work=$(mktemp -d /tmp/kv-setup-to-menu.XXXXXX)
chmod 755 "$work"
started=()
mounted=()

cleanup() {
  local status=$?
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" 2>/dev/null || true; done
  if [ "$status" -ne 0 ]; then
    for log in "$work"/*.log; do [ -s "$log" ] && { echo "--- $log"; tail -20 "$log"; }; done
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Says what went wrong and which windows were on the screen then.
fail() {
  echo "FAILED: $*" >&2
  local id pid
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    pid=$(xdotool getwindowpid "$id" 2>/dev/null) || pid="?"
    echo "  window $id '$(xdotool getwindowname "$id" 2>/dev/null)' of $pid $(readlink "/proc/$pid/exe" 2>/dev/null)" >&2
  done
  exit 1
}
step() { echo "== $*"; }

# Polls `command...` every 0.1 s until it succeeds or `seconds` have passed.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "waited ${seconds} s for: $what"
    sleep 0.1
  done
}

# --- the private places --------------------------------------------------------------------
private_tmpfs() { mount -t tmpfs -o mode=0755 tmpfs "$1"; mounted+=("$1"); }
private_tmpfs /opt
# polkit's actions folder, where a system-wide installation puts its action: where polkit is
# not installed, an overlay lets it be made without touching the real /usr/share.
if [ ! -d /usr/share/polkit-1/actions ]; then
  mkdir -p "$work/share/upper" "$work/share/work"
  mount -t overlay overlay -o "lowerdir=/usr/share,upperdir=$work/share/upper,workdir=$work/share/work" /usr/share
  mounted+=(/usr/share)
  mkdir -p /usr/share/polkit-1/actions
fi
private_tmpfs /usr/share/polkit-1/actions
private_tmpfs /usr/share/applications
if [ ! -d /var/lib/infinstall ]; then
  # The folder is not there: an overlay lets it be made without touching the real /var/lib.
  mkdir -p "$work/varlib/upper" "$work/varlib/work"
  mount -t overlay overlay -o "lowerdir=/var/lib,upperdir=$work/varlib/upper,workdir=$work/varlib/work" /var/lib
  mounted+=(/var/lib)
  mkdir /var/lib/infinstall
fi
private_tmpfs /var/lib/infinstall

# --- the X server ----------------------------------------------------------------------------
mkdir "$work/fb"
# A display number free in the file system and among the abstract sockets, which other mount
# namespaces on the machine share with us (clients try those first).
display_free() {
  [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ] &&
    ! grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix
}
x_ready() { xdotool getdisplaygeometry >/dev/null 2>&1; }
# 250 and above: the dialog test takes its numbers below.
for n in $(seq 250 400); do
  display_free "$n" || continue
  Xvfb ":$n" -noreset -screen 0 1024x768x24 -nolisten tcp -fbdir "$work/fb" >"$work/xvfb.log" 2>&1 &
  started+=($!)
  export DISPLAY=":$n"
  wait_for "Xvfb on :$n" 60 x_ready
  break
done
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime-root"
mkdir -m 700 "$XDG_RUNTIME_DIR"
screen="$work/fb/Xvfb_screen0"

cp "$setup_source" "$work/KARVELO-setup.run"
chmod 755 "$work/KARVELO-setup.run"

# --- dialogs -------------------------------------------------------------------------------
answered=" "
found=""
# A visible window of infinstall (or of the program whose path matches $program) whose title
# matches `pattern`, not answered yet.
infinstall_window() {
  local id pid
  found=""
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
    pid=$(xdotool getwindowpid "$id" 2>/dev/null) || continue
    # A later process may get the window numbers of an earlier one again.
    case "$answered" in *" $pid:$id "*) continue ;; esac
    # Uninstalling removes the running program's own file: "… (deleted)".
    # shellcheck disable=SC2254
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in ${program:-*/*infinstall*}) found=$id; found_pid=$pid; return 0 ;; esac
  done
  return 1
}

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

infinstall_dialog_drawn() { infinstall_window "$1" && dialog_drawn "$found"; }

# Waits for the dialog, checks it on the screen, gives it the keyboard and types `keys`.
answer() {
  local title=$1
  shift
  wait_for "the dialog '$title', centred and drawn" "${KV_E2E_WAIT:-180}" infinstall_dialog_drawn "$title"
  local id=$found found_pid=$found_pid
  xdotool windowfocus --sync "$id"
  xdotool key --clearmodifiers "$@"
  answered="$answered$found_pid:$id "
}

exited() { ! kill -0 "$1" 2>/dev/null; }

# --- checks --------------------------------------------------------------------------------
# Kind, mode, owner, link target and content of everything below each folder.
state() {
  local folder
  for folder in "$@"; do
    (cd "$folder" && find . -printf '%p %y %m %U %l\n' | sort && find . -type f -exec sha256sum {} + | sort)
  done
}
expect_mode() { [ "$(stat -c %a "$2")" = "$1" ] || fail "$2 has mode $(stat -c %a "$2"), not $1"; }

check_installed() {
  local folder=$1 p1mode=$2 entry=$3 store=$4
  for f in kv5 libkv5-sound.so; do expect_mode 755 "$folder/$f"; done
  for f in karvelo.png LIESMICH.TXT README.TXT sounds/sound{1,2,3,4,5,6,7}.wav; do expect_mode 644 "$folder/$f"; done
  expect_mode "$p1mode" "$folder/P1.dat"
  cmp -s "$folder/kv5" "$packaging/kv5" || fail "$folder/kv5 is not the shipped kv5"
  expect_mode 755 "$store/inf/infinstall"
  [ "$(head -c 8 "$folder/karvelo.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "karvelo.png is no PNG"
  grep -qx "InstallDir1=$folder" "$store/registry" || fail "the registry does not name $folder"
  desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
  grep -qx "Exec=$folder/kv5" "$entry" && grep -qx "Path=$folder" "$entry" &&
    grep -qx "Icon=$folder/karvelo.png" "$entry" && grep -qx "Categories=Game;BoardGame;" "$entry" ||
    fail "$entry does not start $folder/kv5 in its folder: $(cat "$entry")"
}

kv5_pid=""
find_kv5() {
  local p
  for p in /proc/[0-9]*; do
    if [ "$(readlink "$p/exe" 2>/dev/null)" = "$1" ]; then kv5_pid=${p#/proc/}; return 0; fi
  done
  return 1
}
kv5_window() { xdotool search --onlyvisible --pid "$kv5_pid" >/dev/null 2>&1; }

# Starts the game from its entry as a desktop would, sees its window and its working folder.
launch_from_entry() {
  local folder=$1 entry=$2
  shift 2
  "$@" gio launch "$entry" >>"$work/gio.log" 2>&1 &
  started+=($!)
  wait_for "kv5 started from $entry" 120 find_kv5 "$folder/kv5"
  started+=("$kv5_pid")
  wait_for "kv5's window" 120 kv5_window
  [ "$(readlink "/proc/$kv5_pid/cwd")" = "$folder" ] || fail "kv5 runs in $(readlink "/proc/$kv5_pid/cwd"), not $folder"
  kill "$kv5_pid"
  wait_for "kv5 to end" 60 exited "$kv5_pid"
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
  started+=("$pid")
  answer '^KARVELO$' Return
  answer 'Zielordner$' Return
  [ "$again" = again ] && answer '^KARVELO$' Return
  answer '^KARVELO$' Return  # "KARVELO ist jetzt installiert."
  wait_for "the setup to end" 180 exited "$pid"
  [ -z "$(ls -A "$work/tmp")" ] || fail "the setup left $(ls -A "$work/tmp") behind"
}

uninstall() {
  local entry=$1
  shift
  local line
  line=$(sed -n '/^\[Desktop Action item1\]/,/^\[/s/^Exec=//p' "$entry")
  read -r -a command <<<"$line"
  "$@" "${command[@]}" >>"$work/uninstall.log" 2>&1 &
  local pid=$!
  started+=("$pid")
  answer '^KARVELO$' Return   # the question
  answer '^KARVELO$' Return   # "KARVELO wurde entfernt."
  wait_for "the uninstallation to end" 120 exited "$pid"
}

