#!/usr/bin/env bash
# Times the shipped KARVELO-setup.run:
#   1. start-up: from its start to its main window being mapped, under Xvfb, as reported by
#      an X client (xev) listening for MapNotify on the root window (the stand-in INF installer
#      holds the run open until the window has been seen);
#   2. the unattended run, start to exit, with QT_QPA_PLATFORM=offscreen and a stand-in
#      `infinstall` on PATH that exits 0 at once;
# Both run a copy of the shipped package without its own infinstall, which the setup would
# otherwise start (with its dialogs) instead of the stand-in; bench/setup/setup-to-menu.sh
# times the whole road with the real one.
#   3. for comparison, `bsdtar -xf` of a ZIP (made by Info-ZIP zip) of the same files.
# Medians of RUNS runs each (default 9). Needs root, as the setup is for administrators only;
# TMPDIR is a fresh folder for every run.
#
#   bench/setup/startup-and-install.sh [BUILD_DIR]      (default: build)
set -euo pipefail

repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${1:-$repo/build}")"
runs="${RUNS:-9}"
. "$repo/tests/support/e2e.sh"

[ "$(id -u)" -eq 0 ] || { echo "run as root: the shipped setup refuses other users" >&2; exit 1; }
kv_build_targets "$repo" "$build" setup_package
shipped="$build/KARVELO-setup.run"
packaging="$build/setup/shipping/package"
stage="$(sed -n 's/^KV_STAGE_DIR:PATH=//p' "$build/CMakeCache.txt")"

kv_work_dir "${TMPDIR:-/tmp}/kv-setup-bench.XXXXXX"
work=$kv_work

# The shipped package's entries but its installer, with the same header.
mkdir -p "$work/setup" "$work/bin"
setup_file="$work/setup/KARVELO-setup.run"
sound_entries=()
for n in 1 2 3 4 5 6 7; do sound_entries+=("sounds/sound$n.wav=$stage/sounds/sound$n.wav"); done
"$build/tools/mkpackage/mkpackage" --image "$build/setup/setup" --out "$setup_file" \
  --product KARVELO --inf KARV10G1.INF --notice "KARVELO 1.01 - KARVELO-Team." \
  --admin-only --hide-info --advanced-inf --deflate \
  "kv5=$packaging/kv5" "libkv5-sound.so=$packaging/libkv5-sound.so" \
  "karvelo.png=$stage/karvelo.png" "P1.dat=$packaging/P1.dat" "${sound_entries[@]}" \
  "LIESMICH.TXT=$repo/setup/shipping/LIESMICH.TXT" "README.TXT=$repo/setup/shipping/README.TXT" \
  "KARV10G1.INF=$packaging/KARV10G1.INF"
chmod 755 "$setup_file"

fresh_tmp() { local d="$work/tmp.$1"; rm -rf "$d"; mkdir -p "$d"; echo "$d"; }
check_cleaned() {
  if [ -e "$1/\$Pakorix.Tmp" ]; then echo "  note: $1/\$Pakorix.Tmp was left behind" >&2; fi
}

# --- 1. start-up until the main window is mapped ------------------------------------------
kv_start_xvfb

# Holds the run open until the window has been seen, so it cannot close unseen.
cat > "$work/bin/infinstall" <<STUB
#!/bin/sh
while [ ! -e "$work/go" ]; do sleep 0.01; done
exit 0
STUB
chmod 755 "$work/bin/infinstall"

# One X client listens from the start for top-level windows being mapped and notes the time
# of each; starting a client per look would cost more than the start-up being measured.
maps="$work/maps"
: > "$maps"
stdbuf -oL xev -root -event substructure 2>/dev/null |
  while IFS= read -r line; do
    case "$line" in MapNotify*) date +%s%N >> "$maps" ;; esac
  done &
kv_started+=($!)
sleep 0.5

startup=()
for i in $(seq "$runs"); do
  tmp="$(fresh_tmp "s$i")"
  rm -f "$work/go"
  seen_before=$(wc -l < "$maps")
  start=$(kv_now_ns)
  TMPDIR="$tmp" PATH="$work/bin:$PATH" "$setup_file" >/dev/null 2>&1 &
  setup_pid=$!
  kv_started+=("$setup_pid")
  mapped=""
  for _ in $(seq 4000); do
    if [ "$(wc -l < "$maps")" -gt "$seen_before" ]; then
      mapped=$(sed -n "$((seen_before + 1))p" "$maps"); break
    fi
    kill -0 "$setup_pid" 2>/dev/null || break
    sleep 0.005
  done
  touch "$work/go"
  wait "$setup_pid" || true
  kv_forget "$setup_pid"
  if [ -z "$mapped" ]; then echo "run $i: the main window was not seen" >&2; continue; fi
  startup+=("$((mapped - start))")
  check_cleaned "$tmp"
done

# --- 2. the unattended run, start to exit --------------------------------------------------
cat > "$work/bin/infinstall" <<STUB
#!/bin/sh
echo "\$@" > "$work/installer-called"
exit 0
STUB
unattended=()
for i in $(seq "$runs"); do
  tmp="$(fresh_tmp "u$i")"
  rm -f "$work/installer-called"
  start=$(kv_now_ns)
  QT_QPA_PLATFORM=offscreen TMPDIR="$tmp" PATH="$work/bin:$PATH" "$setup_file" >/dev/null 2>&1 || true
  end=$(kv_now_ns)
  [ -e "$work/installer-called" ] || echo "run $i: the installer was not started" >&2
  unattended+=("$((end - start))")
  check_cleaned "$tmp"
done
echo "installer arguments: $(cat "$work/installer-called" 2>/dev/null)"

# --- 3. bsdtar of a ZIP of the same files --------------------------------------------------
files="$work/files"
mkdir -p "$files/sounds"
cp "$packaging/kv5" "$packaging/P1.dat" "$packaging/KARV10G1.INF" "$files/"
cp "$repo/setup/shipping/LIESMICH.TXT" "$repo/setup/shipping/README.TXT" "$files/"
cp "$stage"/sounds/sound[1-7].wav "$files/sounds/"
(cd "$files" && zip -X -6 -r -q "$work/files.zip" .)
bsdtar_runs=()
for i in $(seq "$runs"); do
  out="$(fresh_tmp "b$i")"
  start=$(kv_now_ns)
  bsdtar -xf "$work/files.zip" -C "$out"
  end=$(kv_now_ns)
  bsdtar_runs+=("$((end - start))")
done

echo "KARVELO-setup.run: $(stat -c %s "$shipped") bytes; ZIP of the same files: $(stat -c %s "$work/files.zip") bytes"
echo "medians of $runs runs:"
[ ${#startup[@]} -gt 0 ] && echo "  start to main window mapped (Xvfb):  $(kv_ms "$(printf '%s\n' "${startup[@]}" | kv_median)") ms  (${#startup[@]} runs seen)"
echo "  unattended run, start to exit:        $(kv_ms "$(printf '%s\n' "${unattended[@]}" | kv_median)") ms"
echo "  bsdtar -xf of the ZIP:                $(kv_ms "$(printf '%s\n' "${bsdtar_runs[@]}" | kv_median)") ms"
