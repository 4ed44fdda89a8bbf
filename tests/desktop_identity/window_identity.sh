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
. "$(dirname "$0")/../support/e2e.sh"
kv_work_dir /tmp/kv-window-identity.XXXXXX
work=$kv_work

id=$(basename "$entry" .desktop)
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || kv_fail "$entry names no StartupWMClass: $(cat "$entry")"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo "== on X: the window's WM_CLASS and title"
kv_start_xvfb
kv_launch_entry "$entry" "$kv5" "$work/x.log" env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
window=""
visible_window() { window=$(xdotool search --onlyvisible --pid "$kv_found_pid" 2>/dev/null | head -1); [ -n "$window" ]; }
kv_wait_for "kv5's window" 60 visible_window
class_line=$(xprop -id "$window" WM_CLASS)
name_line=$(xprop -id "$window" _NET_WM_NAME)
kv_stop "$kv_found_pid" kv5
# WM_CLASS(STRING) = "instance", "class"
[ "$(sed -n 's/.*= ".*", "\(.*\)"$/\1/p' <<<"$class_line")" = "$wm_class" ] ||
  kv_fail "the window's $class_line, the entry's StartupWMClass=$wm_class"
[ "$name_line" = '_NET_WM_NAME(UTF8_STRING) = "KARVELO"' ] || kv_fail "the window's $name_line"

echo "== under Wayland: the app_id and title kv5 sends"
env -u DISPLAY weston --backend=headless-backend.so --socket=kv-identity --idle-time=0 >"$work/weston.log" 2>&1 &
kv_started+=($!)
kv_wait_for "weston's socket" 60 test -S "$XDG_RUNTIME_DIR/kv-identity"
kv_launch_entry "$entry" "$kv5" "$work/wayland.log" \
  env -u DISPLAY WAYLAND_DISPLAY=kv-identity QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1
sent() { grep -Eq 'xdg_toplevel@[0-9]+\.set_app_id\(' "$work/wayland.log"; }
kv_wait_for "kv5's xdg_toplevel.set_app_id" 60 sent
kv_wait_for "kv5's xdg_toplevel.set_title" 60 grep -Eq 'xdg_toplevel@[0-9]+\.set_title\(' "$work/wayland.log"
kv_stop "$kv_found_pid" kv5
app_ids=$(grep -Eo 'xdg_toplevel@[0-9]+\.set_app_id\("[^"]*"\)' "$work/wayland.log" | sed 's/.*("\(.*\)")/\1/' | sort -u)
[ "$app_ids" = "$id" ] || kv_fail "kv5 sent the app_id '$(echo $app_ids)', the entry's id is $id"
titles=$(grep -Eo 'xdg_toplevel@[0-9]+\.set_title\("[^"]*"\)' "$work/wayland.log" | sed 's/.*("\(.*\)")/\1/' | sort -u)
[ "$titles" = KARVELO ] || kv_fail "kv5 sent the title '$(echo $titles)'"
echo "the window of $kv5 belongs to $entry: class $wm_class, app_id $id, title KARVELO"
