# The machinery the end-to-end scripts of the tests and benchmarks share: a private mount
# namespace, a work folder whose processes and mounts go with it, a private Xvfb and sound server,
# the windows of a program found and answered, waiting, failing, medians. Sourcing it only
# defines kv_* functions; every change to the process (traps, exports, mounts) comes from a call.
# Safe under `set -euo pipefail`.

# --- failing and waiting -----------------------------------------------------------------------
kv_step() { echo "== $*"; }

# Says what went wrong and, on an X display, which windows were on the screen then; the exit
# trap of kv_work_dir adds the ends of the work folder's logs.
kv_fail() {
  echo "FAILED: $*" >&2
  if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null; then
    local id pid
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      pid=$(xdotool getwindowpid "$id" 2>/dev/null) || pid="?"
      echo "  window $id '$(xdotool getwindowname "$id" 2>/dev/null)' of $pid $(readlink "/proc/$pid/exe" 2>/dev/null)" >&2
    done
  fi
  exit 1
}

# For the scripts that check every row of a table before they end: kv_note_failure counts,
# kv_finish prints `success_line` when nothing failed and ends with 1 when something did.
kv_failures=0
kv_note_failure() { echo "FAILED: $*"; kv_failures=$((kv_failures + 1)); }
kv_finish() {
  [ "$kv_failures" -ne 0 ] || echo "$1"
  exit $((kv_failures > 0))
}

# Polls `command...` every 0.1 s until it succeeds or `seconds` have passed.
kv_wait_for() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || kv_fail "waited ${seconds} s for: $what"
    sleep 0.1
  done
}

kv_exited() { ! kill -0 "$1" 2>/dev/null; }

# --- root, the private namespace, the work folder ---------------------------------------------
# A test that needs root is skipped (ctest's SKIP_RETURN_CODE 77) without it.
kv_need_root_or_skip() {
  [ "$(id -u)" -eq 0 ] && return 0
  echo "SKIP: needs root for $1"
  exit 77
}

# Runs the calling script again (`kv_enter_private_mounts "$@"`) in a mount namespace of its own,
# so that what it mounts is never seen by the machine.
kv_enter_private_mounts() {
  [ -z "${KV_E2E_NAMESPACE:-}" ] || return 0
  exec env KV_E2E_NAMESPACE=1 unshare --mount --propagation private "$0" "$@"
}

# Makes the work folder (`mktemp -d template`, in kv_work) and the exit trap that ends what was
# started (kv_started), unmounts what was mounted (kv_mounted, last first), shows the ends of
# the logs in the folder when the script fails, and removes the folder.
kv_started=()
kv_mounted=()
kv_work=""
kv_work_owner=""
kv_work_dir() {
  kv_work=$(mktemp -d "$1")
  kv_work_owner=$BASHPID
  trap kv_cleanup EXIT
}
kv_cleanup() {
  local status=$? pid i log
  # A child killed between its fork and its exec still has the trap.
  [ "$BASHPID" = "$kv_work_owner" ] || return 0
  for pid in "${kv_started[@]}"; do kill "$pid" 2>/dev/null || true; done
  # Servers get to close their sockets before their folder goes.
  for pid in "${kv_started[@]}"; do wait "$pid" 2>/dev/null || true; done
  for ((i = ${#kv_mounted[@]} - 1; i >= 0; i--)); do umount --lazy "${kv_mounted[$i]}" 2>/dev/null || true; done
  if [ "$status" -ne 0 ] && [ -n "$kv_work" ]; then
    for log in "$kv_work"/*.log; do
      if [ -s "$log" ]; then echo "--- $log"; tail -20 "$log"; fi
    done
  fi
  [ -z "$kv_work" ] || rm -rf "$kv_work"
}

# A process that has ended leaves the list, so that its number, given to another, is never
# killed.
kv_forget() {
  local i
  for i in "${!kv_started[@]}"; do [ "${kv_started[$i]}" != "$1" ] || unset "kv_started[$i]"; done
}

# `mount ... target`, undone by the exit trap.
kv_mount() {
  mount "$@"
  kv_mounted+=("${!#}")
}
kv_unmount() {
  umount --lazy "$1"
  local i
  for i in "${!kv_mounted[@]}"; do [ "${kv_mounted[$i]}" != "$1" ] || unset "kv_mounted[$i]"; done
  kv_mounted=("${kv_mounted[@]}")
}

# An empty tmpfs over `folder` (with `options` for mount -o). A folder that is not there is made
# in an overlay over its nearest existing parent, so the real one is never touched.
kv_private_tmpfs() {
  local folder=$1 options=${2:-} parent
  if [ ! -d "$folder" ]; then
    parent=$(dirname "$folder")
    while [ ! -d "$parent" ]; do parent=$(dirname "$parent"); done
    local layer
    layer=$(mktemp -d "$kv_work/overlay.XXXXXX")
    mkdir "$layer/upper" "$layer/work"
    kv_mount -t overlay overlay -o "lowerdir=$parent,upperdir=$layer/upper,workdir=$layer/work" "$parent"
    mkdir -p "$folder"
  fi
  kv_mount -t tmpfs ${options:+-o "$options"} tmpfs "$folder"
}

# --- servers -------------------------------------------------------------------------------------
# A display number free in the file system and among the abstract sockets, which other mount
# namespaces on the machine share with us, where other servers may run unseen (Xvfb's own choice
# looks at the file system only). The search starts at a number of this process's own, so that
# runs starting together seldom meet.
kv_free_display() {
  local n first=$((300 + $$ % 500))
  for ((n = first; n < first + 500; n++)); do
    [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] &&
      ! grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix && { echo "$n"; return 0; }
  done
  echo "$first"
}

# Starts a 1024 × 768 Xvfb (with `xvfb_options...` besides) and exports DISPLAY. Xvfb names its
# display once it takes clients; a server that lost the race for its number ends without naming
# it, and the next try picks another.
kv_start_xvfb() {
  local pid named="$kv_work/xvfb.display"
  for _ in 1 2 3 4 5; do
    : >"$named"
    Xvfb ":$(kv_free_display)" -noreset -displayfd 3 -screen 0 1024x768x24 -nolisten tcp "$@" \
      3>"$named" >>"$kv_work/xvfb.log" 2>&1 &
    pid=$!
    while [ ! -s "$named" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
    if [ -s "$named" ]; then
      kv_started+=("$pid")
      DISPLAY=":$(head -n 1 "$named")"
      export DISPLAY
      return 0
    fi
    wait "$pid" 2>/dev/null || true
  done
  kv_fail "Xvfb did not start: $(tail -5 "$kv_work/xvfb.log")"
}

# Starts a private pulseaudio with one null sink (`sink_options` for module-null-sink) for
# $XDG_RUNTIME_DIR, whose socket the clients there find.
kv_start_pulseaudio() {
  HOME="$kv_work" pulseaudio --daemonize=no -n --exit-idle-time=-1 \
    --load="module-native-protocol-unix auth-anonymous=1" \
    --load="module-null-sink sink_name=null${1:+ $1}" >"$kv_work/sound-server.log" 2>&1 &
  kv_started+=($!)
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && return 0; sleep 0.05; done
  echo "pulseaudio did not start:" >&2
  cat "$kv_work/sound-server.log" >&2
  exit 1
}

# --- processes and their windows -------------------------------------------------------------
# The process running `program` in this mount namespace, in kv_found_pid: a run beside this one,
# in a namespace of its own, may start a program of the same path.
kv_found_pid=""
kv_find_process() {
  local p ours
  ours=$(readlink /proc/self/ns/mnt)
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$1" ] && [ "$(readlink "$p/ns/mnt" 2>/dev/null)" = "$ours" ] &&
      { kv_found_pid=${p#/proc/}; return 0; }
  done
  return 1
}

# Starts `entry` the way a desktop does (gio launch, after `command...` when given, which may
# change the user or the environment) and waits for `program` to run; its process in
# kv_found_pid, ended by the exit trap if the script does not end it first.
kv_launch_entry() {
  local entry=$1 program=$2 log=$3
  shift 3
  "$@" gio launch "$entry" >>"$log" 2>&1 || kv_fail "gio cannot launch $entry"
  kv_wait_for "$program started from $entry" 120 kv_find_process "$program"
  kv_started+=("$kv_found_pid")
}

# Ends the process `pid` (`what` for the message) and waits until it is gone.
kv_stop() {
  kill "$1"
  kv_wait_for "$2 to end" 60 kv_exited "$1"
}

kv_has_window() { xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1; }

# A visible window whose title matches `title` (a regular expression), of a process whose
# program matches `program_pattern` (a glob), that has not been answered yet: its number in
# kv_window, its process in kv_window_pid.
kv_window=""
kv_window_pid=""
kv_answered=" "
kv_find_window() {
  local id pid
  kv_window=""
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
    pid=$(xdotool getwindowpid "$id" 2>/dev/null) || continue
    # A later process may get the window numbers of an earlier one again.
    case "$kv_answered" in *" $pid:$id "*) continue ;; esac
    # shellcheck disable=SC2254
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in $2) kv_window=$id; kv_window_pid=$pid; return 0 ;; esac
  done
  return 1
}

# Gives the window found last the keyboard and types `keys...`; the window counts as answered.
kv_type_into_window() {
  xdotool windowfocus --sync "$kv_window" key --clearmodifiers "$@" || return 1
  kv_answered="$kv_answered$kv_window_pid:$kv_window "
}

# --- numbers -------------------------------------------------------------------------------------
kv_now_ns() { date +%s%N; }
kv_ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }
# Of the numbers on standard input, one a line.
kv_median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
kv_percentile() { sort -g | awk -v p="$1" '{ v[NR] = $1 } END { i = int(NR * p / 100 + 0.999); print v[i < 1 ? 1 : i] }'; }

# --- building and packages -------------------------------------------------------------------
# Builds `targets...` in `build`, configuring it first (RelWithDebInfo) when it is new.
kv_build_targets() {
  local repo=$1 build=$2
  shift 2
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target "$@" -j2 >/dev/null
}

# Installs those of the Debian `packages...` that are not installed yet.
kv_install_missing() {
  local p missing=() sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -ne 0 ] || return 0
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
