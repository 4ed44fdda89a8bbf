#!/usr/bin/env bash
# Times the whole unattended road of KARVELO-setup.run as root: from starting the .run file to
# the desktop entry being in place, with infinstall's two prompts answered by xdotool as soon
# as they are on the screen (Xvfb). For scale, a floor of the same work without any dialog:
# `bsdtar -xf` of a ZIP of the same files plus `install` of each into its place (modes, the
# entry). Medians of RUNS runs (default 9). Runs in a private mount namespace with tmpfs over
# /opt, /usr/share/applications and /var/lib/infinstall; the machine is not changed.
#
#   bench/setup/setup-to-menu.sh [BUILD_DIR]      (default: build)
set -euo pipefail

repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath -m "${1:-$repo/build}")"
runs="${RUNS:-9}"
. "$repo/tests/support/e2e.sh"
[ "$(id -u)" -eq 0 ] || { echo "run as root: the shipped setup refuses other users" >&2; exit 1; }
[ -n "${KV_E2E_NAMESPACE:-}" ] || kv_build_targets "$repo" "$build" setup_package
kv_enter_private_mounts "$@"
packaging="$build/setup/shipping/package"
stage="$(sed -n 's/^KV_STAGE_DIR:PATH=//p' "$build/CMakeCache.txt")"

kv_work_dir /tmp/kv-bench-menu.XXXXXX
work=$kv_work
for folder in /opt /usr/share/applications /var/lib/infinstall; do kv_private_tmpfs "$folder"; done

kv_start_xvfb
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$build/KARVELO-setup.run" "$work/"

reset_places() { rm -rf /opt/* /usr/share/applications/* /var/lib/infinstall/*; }

# Answers the next visible infinstall window whose title matches $1 with Enter.
answer() {
  while true; do
    kv_find_window "$1" '*/infinstall' && kv_type_into_window Return && return 0
    if ! kill -0 "$setup_pid" 2>/dev/null; then
      echo "the setup ended before infinstall asked '$1'; its output:" >&2
      cat "$work/setup.log" >&2
      exit 1
    fi
    sleep 0.005
  done
}

road=()
for i in $(seq "$runs"); do
  reset_places
  mkdir -p "$work/tmp.$i"
  start=$(kv_now_ns)
  TMPDIR="$work/tmp.$i" "$work/KARVELO-setup.run" >"$work/setup.log" 2>&1 &
  setup_pid=$!
  kv_started+=("$setup_pid")
  answer '^KARVELO$'
  answer 'Zielordner$'
  until [ -f /usr/share/applications/KARVELO.desktop ]; do sleep 0.002; done
  end=$(kv_now_ns)
  answer '^KARVELO$'  # "KARVELO ist jetzt installiert.", which the setup waits for
  wait "$setup_pid" || true
  kv_forget "$setup_pid"
  road+=("$((end - start))")
done

# The floor: the same files unpacked by bsdtar and put in place by install.
files="$work/files"
mkdir -p "$files/sounds"
cp "$packaging"/{kv5,libkv5-sound.so,infinstall,P1.dat,KARV10G1.INF} "$stage/karvelo.png" "$files/"
cp "$repo/setup/shipping/LIESMICH.TXT" "$repo/setup/shipping/README.TXT" "$files/"
cp "$stage"/sounds/sound[1-7].wav "$files/sounds/"
(cd "$files" && zip -X -6 -r -q "$work/files.zip" .)
cp /usr/share/applications/KARVELO.desktop "$work/KARVELO.desktop"
floor=()
for i in $(seq "$runs"); do
  reset_places
  out="$work/floor.$i"
  mkdir -p "$out"
  start=$(kv_now_ns)
  bsdtar -xf "$work/files.zip" -C "$out"
  install -d /opt/KARVELO/sounds /var/lib/infinstall/inf
  install -m 755 "$out"/{kv5,libkv5-sound.so} /opt/KARVELO/
  install -m 644 "$out"/{karvelo.png,LIESMICH.TXT,README.TXT} /opt/KARVELO/
  install -m 666 "$out/P1.dat" /opt/KARVELO/
  install -m 644 "$out"/sounds/*.wav /opt/KARVELO/sounds/
  install -m 644 "$out/KARV10G1.INF" /var/lib/infinstall/inf/
  install -m 755 "$out/infinstall" /var/lib/infinstall/inf/
  install -m 644 "$work/KARVELO.desktop" /usr/share/applications/
  end=$(kv_now_ns)
  floor+=("$((end - start))")
done

echo "KARVELO-setup.run: $(stat -c %s "$build/KARVELO-setup.run") bytes; medians of $runs runs:"
echo "  setup → infinstall prompts answered → desktop entry in place:  $(kv_ms "$(printf '%s\n' "${road[@]}" | kv_median)") ms"
echo "  floor: bsdtar -xf + install of the same files and the entry:   $(kv_ms "$(printf '%s\n' "${floor[@]}" | kv_median)") ms"
