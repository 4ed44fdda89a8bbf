#!/usr/bin/env bash
# Start-up time and memory of kv5 against a minimal Qt Widgets window (an 800 x 600 QLabel),
# both on their own Xvfb server:
#
#   bench/startup/compare-startup.sh [RUNS] [BUILD_DIR]     (defaults: 7, build)
#
# Method: map_timer forks the program and listens on the root window for MapNotify; the time is
# from just before the fork to the moment the server maps a window whose _NET_WM_PID is the
# program's, and to the first Damage report of that window, when its first frame is drawn (event
# driven, no polling interval). Two seconds later it reads VmRSS from
# /proc/PID/status, then ends the program. The programs alternate run by run after one unmeasured
# warm-up each, so both see the same file cache; the table shows medians. kv5 runs from a copy of
# the stage folder, so its highscore file in the build stays untouched.
set -euo pipefail

runs="${1:-7}"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${2:-$repo/build}")"

[ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target kv5 qlabel_window map_timer -j2 >/dev/null
map_timer="$build/bench/startup/map_timer"
qlabel="$build/bench/startup/qlabel_window"
kv5="$build/stage/kv5"
[ -x "$kv5" ] || kv5="$(find "$build/game" -name kv5 -type f -perm -u+x | head -n 1)"
[ -x "$kv5" ] || { echo "kv5 not found in $build" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/kv-startup-bench.XXXXXX")"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cp -r "$build/stage" "$work/stage"
cp "$kv5" "$work/stage/kv5"

# -displayfd lets the server pick a free display number and tell us which.
Xvfb -noreset -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

measure() { # program -> "map_ms rss_kb"; the programs' own chatter goes to a log
  (cd "$work/stage" && "$map_timer" 2 "$1" 2>>"$work/programs.log") || {
    echo "measuring $1 failed:" >&2; tail -n 20 "$work/programs.log" >&2; exit 1; }
}

measure_fields() { # -> "map_ms paint_ms rss_kb"
  measure "$1" | sed -E 's/map_ms=([0-9.]+) paint_ms=([0-9.]+) rss_kb=([0-9]+)/\1 \2 \3/'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "Warm-up ..."
measure "$qlabel" >/dev/null
measure "$work/stage/kv5" >/dev/null
: >"$work/qlabel.txt"
: >"$work/kv5.txt"
for i in $(seq "$runs"); do
  measure_fields "$qlabel" >>"$work/qlabel.txt"
  measure_fields "$work/stage/kv5" >>"$work/kv5.txt"
  echo "run $i/$runs: qlabel $(tail -n 1 "$work/qlabel.txt"), kv5 $(tail -n 1 "$work/kv5.txt")"
done

column() { cut -d' ' -f"$2" "$work/$1.txt" | median; }
q_ms=$(column qlabel 1); q_paint=$(column qlabel 2); q_kb=$(column qlabel 3)
k_ms=$(column kv5 1); k_paint=$(column kv5 2); k_kb=$(column kv5 3)

echo
echo "Medians of $runs runs (time from exec to the window being mapped and to its first frame;"
echo "VmRSS 2 s later):"
printf '%-16s %14s %14s %12s\n' "program" "mapped after" "first frame" "VmRSS"
printf '%-16s %11.1f ms %11.1f ms %9.1f MB\n' "qlabel_window" "$q_ms" "$q_paint" "$(awk "BEGIN{print $q_kb/1024}")"
printf '%-16s %11.1f ms %11.1f ms %9.1f MB\n' "kv5" "$k_ms" "$k_paint" "$(awk "BEGIN{print $k_kb/1024}")"
printf '%-16s %13.2fx %13.2fx %11.2fx   (target: at most 1.15x)\n' "kv5 / qlabel" \
  "$(awk "BEGIN{print $k_ms/$q_ms}")" "$(awk "BEGIN{print $k_paint/$q_paint}")" \
  "$(awk "BEGIN{print $k_kb/$q_kb}")"
