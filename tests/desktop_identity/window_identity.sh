#!/usr/bin/env bash
# The running game belongs to the menu entry that started it. Started from ENTRY the way a
# desktop starts it (gio launch), kv5's window on a private Xvfb carries the class that the
# entry's StartupWMClass names and the title "KARVELO" for the task bar; under Wayland (a
# headless weston) kv5 gives the compositor the entry's desktop file id as its app_id, read from
# the protocol log (WAYLAND_DEBUG), with the same title. KV5 is the program the entry ends in.
#
#   window_identity.sh ENTRY KV5
set -euo pipefail
entry=$1 kv5=$2

work=$(mktemp -d /tmp/kv-window-identity.XXXXXX)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  for log in "$work"/*.log; do [ -s "$log" ] && { echo "--- $log"; tail -15 "$log"; }; done
  exit 1
}
wait_for() { # WHAT SECONDS COMMAND...
  local what=$1 deadline=$((SECONDS + $2))
  shift 2
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "waited for $what"
    sleep 0.1
  done
}

id=$(basename "$entry" .desktop)
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || fail "$entry names no StartupWMClass: $(cat "$entry")"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

kv5_pid=""
# Only in this mount namespace: a run beside this one, in a namespace of its own, may start a
# kv5 of the same path.
find_kv5() {
  local p ours
  ours=$(readlink /proc/self/ns/mnt)
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$kv5" ] && [ "$(readlink "$p/ns/mnt" 2>/dev/null)" = "$ours" ] &&
      { kv5_pid=${p#/proc/}; return 0; }
  done
  return 1
}
# Starts the entry with the environment changed by env's arguments, and waits for its kv5.
launch() {
  local log=$1
  shift
  env "$@" gio launch "$entry" >"$log" 2>&1 || fail "gio cannot launch $entry"
  wait_for "kv5 started from $entry" 60 find_kv5
  started+=("$kv5_pid")
}
stop_kv5() {
  kill "$kv5_pid"
  wait_for "kv5 to end" 30 eval '! kill -0 "$kv5_pid" 2>/dev/null'
}

echo "== on X: the window's WM_CLASS and title"
x_ready() { DISPLAY=":$display" xdpyinfo >/dev/null 2>&1; }
for display in $(seq 420 520); do
  [ ! -e "/tmp/.X$display-lock" ] && [ ! -e "/tmp/.X11-unix/X$display" ] &&
    ! grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix && break
done
Xvfb ":$display" -noreset -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
started+=($!)
wait_for "Xvfb on :$display" 60 x_ready
launch "$work/x.log" -u WAYLAND_DISPLAY DISPLAY=":$display" QT_QPA_PLATFORM=xcb
window=""
visible_window() { window=$(DISPLAY=":$display" xdotool search --onlyvisible --pid "$kv5_pid" 2>/dev/null | head -1); [ -n "$window" ]; }
wait_for "kv5's window" 60 visible_window
class_line=$(DISPLAY=":$display" xprop -id "$window" WM_CLASS)
name_line=$(DISPLAY=":$display" xprop -id "$window" _NET_WM_NAME)
stop_kv5
# WM_CLASS(STRING) = "instance", "class"
[ "$(sed -n 's/.*= ".*", "\(.*\)"$/\1/p' <<<"$class_line")" = "$wm_class" ] ||
  fail "the window's $class_line, the entry's StartupWMClass=$wm_class"
[ "$name_line" = '_NET_WM_NAME(UTF8_STRING) = "KARVELO"' ] || fail "the window's $name_line"

echo "== under Wayland: the app_id and title kv5 sends"
weston --backend=headless-backend.so --socket=kv-identity --idle-time=0 >"$work/weston.log" 2>&1 &
started+=($!)
wait_for "weston's socket" 60 test -S "$XDG_RUNTIME_DIR/kv-identity"
launch "$work/wayland.log" -u DISPLAY WAYLAND_DISPLAY=kv-identity QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1
sent() { grep -Eq 'xdg_toplevel@[0-9]+\.set_app_id\(' "$work/wayland.log"; }
wait_for "kv5's xdg_toplevel.set_app_id" 60 sent
wait_for "kv5's xdg_toplevel.set_title" 60 grep -Eq 'xdg_toplevel@[0-9]+\.set_title\(' "$work/wayland.log"
stop_kv5
app_ids=$(grep -Eo 'xdg_toplevel@[0-9]+\.set_app_id\("[^"]*"\)' "$work/wayland.log" | sed 's/.*("\(.*\)")/\1/' | sort -u)
[ "$app_ids" = "$id" ] || fail "kv5 sent the app_id '$(echo $app_ids)', the entry's id is $id"
titles=$(grep -Eo 'xdg_toplevel@[0-9]+\.set_title\("[^"]*"\)' "$work/wayland.log" | sed 's/.*("\(.*\)")/\1/' | sort -u)
[ "$titles" = KARVELO ] || fail "kv5 sent the title '$(echo $titles)'"
echo "the window of $kv5 belongs to $entry: class $wm_class, app_id $id, title KARVELO"
