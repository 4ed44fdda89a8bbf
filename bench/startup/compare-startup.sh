#!/usr/bin/env bash
# Start-up time and memory of kv5 against a minimal Qt Widgets window (an 800 x 600 QLabel),
# both on their own Xvfb server, with a sound server of their own:
#
#   bench/startup/compare-startup.sh [RUNS] [BUILD_DIR] [OTHER_STAGE]     (defaults: 7, build)
#
# OTHER_STAGE, a stage folder of another build (its kv5 and libkv5-sound.so; today's, for
# instance), is measured in the same runs, in turn with the other two.
#
# Method: map_timer forks the program and listens on the root window for MapNotify; the time is
# from just before the fork to the moment the server maps a window whose _NET_WM_PID is the
# program's, and to the first Damage report of that window, when its first frame is drawn (event
# driven, no polling interval). Two seconds later it reads VmRSS from
# /proc/PID/status, then ends the program. The programs alternate run by run after one unmeasured
# warm-up each, so both see the same file cache; the table shows medians. kv5 runs from a copy of
# the stage folder, so its highscore file in the build stays untouched. The session has a private
# pulseaudio with a null sink (KV_NO_SOUND_SERVER=1 leaves it out), so that the 2 s include kv5
# playing its start sound: the sound module loaded and connected, as on a desktop.
set -euo pipefail

runs="${1:-7}"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${2:-$repo/build}")"
. "$repo/tests/support/e2e.sh"

kv_build_targets "$repo" "$build" kv5 qlabel_window map_timer
map_timer="$build/bench/startup/map_timer"
qlabel="$build/bench/startup/qlabel_window"
kv5="$build/stage/kv5"
[ -x "$kv5" ] || kv5="$(find "$build/game" -name kv5 -type f -perm -u+x | head -n 1)"
[ -x "$kv5" ] || { echo "kv5 not found in $build" >&2; exit 1; }

other="${3:-}"
[ -z "$other" ] || [ -x "$other/kv5" ] || { echo "no kv5 in $other" >&2; exit 1; }

kv_work_dir "${TMPDIR:-/tmp}/kv-startup-bench.XXXXXX"
work=$kv_work

cp -r "$build/stage" "$work/stage"
cp "$kv5" "$work/stage/kv5"
if [ -n "$other" ]; then
  cp -r "$build/stage" "$work/other"
  cp "$other/kv5" "$other/libkv5-sound.so" "$work/other/"
fi

kv_start_xvfb
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
sound_server="none"
if [ -z "${KV_NO_SOUND_SERVER:-}" ] && command -v pulseaudio >/dev/null; then
  kv_start_pulseaudio
  sound_server="a private pulseaudio with a null sink"
fi

measure() { # program -> "map_ms rss_kb"; the programs' own chatter goes to a log
  (cd "$(dirname "$1")" && "$map_timer" 2 "$1" 2>>"$work/programs.log") || {
    echo "measuring $1 failed:" >&2; tail -n 20 "$work/programs.log" >&2; exit 1; }
}

measure_fields() { # -> "map_ms paint_ms rss_kb"
  measure "$1" | sed -E 's/map_ms=([0-9.]+) paint_ms=([0-9.]+) rss_kb=([0-9]+)/\1 \2 \3/'
}

programs=(qlabel kv5)
declare -A path=([qlabel]="$qlabel" [kv5]="$work/stage/kv5" [other]="$work/other/kv5")
[ -z "$other" ] || programs+=(other)

echo "Warm-up ..."
for p in "${programs[@]}"; do measure "${path[$p]}" >/dev/null; : >"$work/$p.txt"; done
for i in $(seq "$runs"); do
  line="run $i/$runs:"
  for p in "${programs[@]}"; do
    measure_fields "${path[$p]}" >>"$work/$p.txt"
    line+=" $p $(tail -n 1 "$work/$p.txt")"
  done
  echo "$line"
done

column() { cut -d' ' -f"$2" "$work/$1.txt" | kv_median; }
q_ms=$(column qlabel 1); q_paint=$(column qlabel 2); q_kb=$(column qlabel 3)

echo
echo "Medians of $runs runs (time from exec to the window being mapped and to its first frame;"
echo "VmRSS 2 s later; sound server: $sound_server):"
printf '%-18s %14s %14s %12s\n' "program" "mapped after" "first frame" "VmRSS"
declare -A label=([qlabel]="qlabel_window" [kv5]="kv5" [other]="other kv5")
[ -z "$other" ] || echo "(other kv5: $other)"
for p in "${programs[@]}"; do
  printf '%-18s %11.1f ms %11.1f ms %9.1f MB\n' "${label[$p]}" "$(column "$p" 1)" "$(column "$p" 2)" \
    "$(awk "BEGIN{print $(column "$p" 3)/1024}")"
done
for p in "${programs[@]:1}"; do
  printf '%-18s %13.2fx %13.2fx %11.2fx   (target for kv5: at most 1.10x)\n' "${label[$p]} / qlabel" \
    "$(awk "BEGIN{print $(column "$p" 1)/$q_ms}")" "$(awk "BEGIN{print $(column "$p" 2)/$q_paint}")" \
    "$(awk "BEGIN{print $(column "$p" 3)/$q_kb}")"
done
