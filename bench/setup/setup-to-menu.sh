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
[ "$(id -u)" -eq 0 ] || { echo "run as root: the shipped setup refuses other users" >&2; exit 1; }
if [ -z "${KV_BENCH_NAMESPACE:-}" ]; then
  cmake --build "$build" --target setup_package -j2 >/dev/null
  exec env KV_BENCH_NAMESPACE=1 unshare --mount --propagation private "$0" "$@"
fi
packaging="$build/setup/shipping/package"
stage="$(sed -n 's/^KV_STAGE_DIR:PATH=//p' "$build/CMakeCache.txt")"

work=$(mktemp -d /tmp/kv-bench-menu.XXXXXX)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  umount /var/lib/infinstall /var/lib /opt /usr/share/applications 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mount -t tmpfs tmpfs /opt
mount -t tmpfs tmpfs /usr/share/applications
if [ ! -d /var/lib/infinstall ]; then
  mkdir -p "$work/upper" "$work/ovl"
  mount -t overlay overlay -o "lowerdir=/var/lib,upperdir=$work/upper,workdir=$work/ovl" /var/lib
  mkdir /var/lib/infinstall
fi
mount -t tmpfs tmpfs /var/lib/infinstall

# A display number free here and among the abstract sockets other namespaces share with us.
for n in $(seq 400 600); do
  [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] &&
    ! grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix && break
done
Xvfb ":$n" -noreset -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.05; done
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$build/KARVELO-setup.run" "$work/"

now() { date +%s%N; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
reset_places() { rm -rf /opt/* /usr/share/applications/* /var/lib/infinstall/*; }

# Answers the next visible infinstall window whose title matches $1 with Enter.
answer() {
  local id pid
  while true; do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      pid=$(xdotool getwindowpid "$id" 2>/dev/null) || continue
      case "$(readlink "/proc/$pid/exe")" in */infinstall) ;; *) continue ;; esac
      xdotool windowfocus --sync "$id" key Return && return 0
    done
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
  start=$(now)
  TMPDIR="$work/tmp.$i" "$work/KARVELO-setup.run" >"$work/setup.log" 2>&1 &
  setup_pid=$!
  answer '^KARVELO$'
  answer 'Zielordner$'
  until [ -f /usr/share/applications/KARVELO.desktop ]; do sleep 0.002; done
  end=$(now)
  wait "$setup_pid" || true
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
  start=$(now)
  bsdtar -xf "$work/files.zip" -C "$out"
  install -d /opt/KARVELO/sounds /var/lib/infinstall/inf
  install -m 755 "$out"/{kv5,libkv5-sound.so} /opt/KARVELO/
  install -m 644 "$out"/{karvelo.png,LIESMICH.TXT,README.TXT} /opt/KARVELO/
  install -m 666 "$out/P1.dat" /opt/KARVELO/
  install -m 644 "$out"/sounds/*.wav /opt/KARVELO/sounds/
  install -m 644 "$out/KARV10G1.INF" /var/lib/infinstall/inf/
  install -m 755 "$out/infinstall" /var/lib/infinstall/inf/
  install -m 644 "$work/KARVELO.desktop" /usr/share/applications/
  end=$(now)
  floor+=("$((end - start))")
done

echo "KARVELO-setup.run: $(stat -c %s "$build/KARVELO-setup.run") bytes; medians of $runs runs:"
echo "  setup → infinstall prompts answered → desktop entry in place:  $(ms "$(printf '%s\n' "${road[@]}" | median)") ms"
echo "  floor: bsdtar -xf + install of the same files and the entry:   $(ms "$(printf '%s\n' "${floor[@]}" | median)") ms"
