#!/usr/bin/env bash
# The latency from a drop to the first sample at the sound server, of the game's sound module and,
# side by side in the same run, of another build of it (today's, for instance):
#
#   bench/sound/compare-latency.sh [ROUNDS] [BUILD_DIR] [OTHER]     (defaults: 5, build, none)
#
# OTHER is a libkv5-sound.so, or a git revision whose module is built for the comparison (in a
# temporary folder, with the Debian packages that revision needs). Method: a private pulseaudio
# with one null sink, by default in a desktop's usual format (48 kHz stereo; KV_SINK sets other
# module-null-sink arguments, "norewinds=1" for instance); sound_latency plays the placement click
# (sounds/sound2.wav) through SoundPlayer, not waited for, as a drop does, and reads the sink's
# monitor in 1 ms blocks. Each round runs every module in a fresh process, 20 sounds each, the
# modules in turn: the first sound of a process includes loading the module and connecting (and
# the player's delay for a first sound nobody waits for; an idle null sink also renders far
# ahead, which delays it by up to 2 s more), the later ones are a drop in a running game.
set -euo pipefail

rounds="${1:-5}"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${2:-$repo/build}")"
other="${3:-}"
per_process=20
. "$repo/tests/support/e2e.sh"

kv_build_targets "$repo" "$build" sound_latency kv5_sound stage_sounds
command -v pulseaudio >/dev/null || { echo "compare-latency.sh: needs pulseaudio (scripts/bootstrap)" >&2; exit 1; }

kv_work_dir "${TMPDIR:-/tmp}/kv-sound-latency.XXXXXX"
work=$kv_work

modules=("$build/stage/libkv5-sound.so")
names=("this build")
if [ -n "$other" ]; then
  if [ -f "$other" ]; then
    modules+=("$(realpath "$other")")
    names+=("the other")
    echo "(the other: $(realpath "$other"))"
  else
    echo "Building the module of $other ..."
    mkdir "$work/other"
    git -C "$repo" archive "$other" | tar -x -C "$work/other"
    cmake -S "$work/other" -B "$work/other/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF >"$work/other.log" 2>&1 &&
      cmake --build "$work/other/build" --target kv5_sound -j2 >>"$work/other.log" 2>&1 ||
      { tail -20 "$work/other.log" >&2; exit 1; }
    modules+=("$work/other/build/stage/libkv5-sound.so")
    names+=("$other")
  fi
fi

export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER DISPLAY DBUS_SESSION_BUS_ADDRESS
kv_start_pulseaudio "${KV_SINK:-rate=48000 channels=2}"

for i in "${!modules[@]}"; do : >"$work/first.$i"; : >"$work/drop.$i"; done
for round in $(seq "$rounds"); do
  for i in "${!modules[@]}"; do
    (cd "$build/stage" && "$build/bench/sound/sound_latency" "${modules[$i]}" sounds/sound2.wav "$per_process") \
      >"$work/run" 2>>"$work/programs.log" || { echo "measuring ${names[$i]} failed:" >&2; tail "$work/programs.log" >&2; exit 1; }
    sed -n 's/^first_ms=//p' "$work/run" >>"$work/first.$i"
    sed -n 's/^ms=//p' "$work/run" >>"$work/drop.$i"
  done
  echo "round $round/$rounds done"
done

echo
echo "From the sound call of a drop to its first sample out of the null sink's monitor"
echo "(sink: ${KV_SINK:-rate=48000 channels=2}; $rounds processes of $per_process sounds per module):"
printf '%-28s %14s %14s %14s\n' "module" "drop, median" "drop, 90 %" "first sound"
for i in "${!modules[@]}"; do
  printf '%-28s %11.1f ms %11.1f ms %11.1f ms\n' "${names[$i]}" "$(kv_median <"$work/drop.$i")" \
    "$(kv_percentile 90 <"$work/drop.$i")" "$(kv_median <"$work/first.$i")"
done
if [ "${#modules[@]}" -gt 1 ]; then
  printf '%-28s %13.2fx %13.2fx %13.2fx   (target: drop no worse than the other)\n' "this build / ${names[1]}" \
    "$(awk "BEGIN{print $(kv_median <"$work/drop.0")/$(kv_median <"$work/drop.1")}")" \
    "$(awk "BEGIN{print $(kv_percentile 90 <"$work/drop.0")/$(kv_percentile 90 <"$work/drop.1")}")" \
    "$(awk "BEGIN{print $(kv_median <"$work/first.0")/$(kv_median <"$work/first.1")}")"
fi
