#!/usr/bin/env bash
# KARVELO from its Debian package on a freshly made Debian 12: a minimal root by debootstrap,
# `apt install ./karvelo_…deb` in it, the game started as a player through its desktop entry's
# Exec on a private Xvfb, one move played (a click on a filled field adds three fields), the
# player's highscore file read, then `apt remove` and `apt purge`, each followed by a list of
# what is left of the package. Run by hand, as root, with Debian's mirror reachable; takes a
# few minutes and some 600 MB under /var/tmp. Not part of the tests.
#
#   bench/debian/clean-system.sh [DEB [KV5_ONE_MOVE]]
#
# DEB defaults to build/karvelo_1.01-1_amd64.deb, KV5_ONE_MOVE (the move player, built with the
# tests) to build/tests/packaging/kv5_one_move. KV_MIRROR overrides http://deb.debian.org/debian;
# KV_KEEP_ROOT=1 keeps the root for a look afterwards. KV_OTHER_DEB names another build of the
# package (today's, for instance): before installing, the run shows how many packages and
# megabytes apt would fetch for each, on the same fresh root, side by side.
set -euo pipefail
cd "$(dirname "$0")/../.."

deb=$(readlink -f "${1:-build/karvelo_1.01-1_amd64.deb}")
one_move=$(readlink -f "${2:-build/tests/packaging/kv5_one_move}")
mirror=${KV_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "clean-system.sh: needs root (debootstrap, chroot)" >&2; exit 2; }
[ -f "$deb" ] && [ -x "$one_move" ] || { echo "clean-system.sh: build the package and the tests first" >&2; exit 2; }
other_deb=${KV_OTHER_DEB:+$(readlink -f "$KV_OTHER_DEB")}
[ -z "$other_deb" ] || [ -f "$other_deb" ] || { echo "clean-system.sh: no package $KV_OTHER_DEB" >&2; exit 2; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

root=$(mktemp -d /var/tmp/kv-clean-system.XXXXXX)
# The root of a system: everyone may look inside (apt's own user, the player).
chmod 755 "$root"
mounted=()
cleanup() {
  # Nothing started in the root may outlive it.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null || true
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount --lazy "${mounted[$i]}" 2>/dev/null || true; done
  if [ -z "${KV_KEEP_ROOT:-}" ]; then rm -rf "$root"; else echo "kept $root"; fi
}
trap cleanup EXIT
step() { echo; echo "== $* ($(date -u +%T))"; }
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }
# What of the package is on the system outside the player's home: files by their names, files
# that name it (the desktop's caches, which triggers rebuild, included), and dpkg's record. apt's
# and dpkg's logs and apt's caches keep their history and are left out.
left_of_karvelo() {
  (cd "$root" && find . \( -path ./proc -o -path ./dev -o -path ./home \) -prune -o \
    \( -iname '*karvelo*' -o -path ./usr/games/kv5 \) -print) | sed 's|^\.|  |' || true
  (cd "$root" && grep -rlia --exclude-dir=log --exclude-dir=apt karvelo etc usr var opt srv root 2>/dev/null) |
    sed 's|^|  mentioned in /|' || true  # grep finds nothing: the point of the check
  in_root dpkg-query -W -f='  dpkg: ${Package} ${Status}\n' karvelo 2>/dev/null || echo "  dpkg: no record of karvelo"
}

step "debootstrap --variant=minbase bookworm from $mirror"
started=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -20 "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
echo "made in $((SECONDS - started)) s: $(in_root dpkg-query -W | wc -l) packages, $(du -sm "$root" | cut -f1) MB"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "deb $mirror bookworm main" >"$root/etc/apt/sources.list"
in_root useradd --create-home --shell /bin/bash player

# What apt would download for a package file or for packages by name, with its default
# Recommends: "packages megabytes".
fetched_for() {
  local what=("$@")
  if [ -f "$1" ]; then cp "$1" "$root/tmp/fetch.deb"; what=(./tmp/fetch.deb); fi
  in_root apt-get install --print-uris -qq "${what[@]}" | awk '
    substr($0, 1, 1) == "\047" { n++; bytes += $3 } END { printf "%d %.1f\n", n, bytes / 1e6 }'
  rm -f "$root/tmp/fetch.deb"
}

step "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
started=$SECONDS
in_root apt-get update -qq
read -r fetch_packages fetch_mb < <(fetched_for "$deb")
printf '%-40s %4d packages, %7.1f MB to fetch\n' "$(basename "$deb") (this build)" "$fetch_packages" "$fetch_mb"
if [ -n "$other_deb" ]; then
  read -r other_packages other_mb < <(fetched_for "$other_deb")
  printf '%-40s %4d packages, %7.1f MB to fetch\n' "$(basename "$other_deb")" "$other_packages" "$other_mb"
  echo "this build / the other: $(awk "BEGIN{printf \"%.2fx the packages, %.2fx the megabytes\", $fetch_packages/$other_packages, $fetch_mb/$other_mb}")"
fi
# What every Qt Widgets program needs on this root, whatever it plays its sounds with.
read -r floor_packages floor_mb < <(fetched_for libqt6widgets6)
printf '%-40s %4d packages, %7.1f MB to fetch\n' "libqt6widgets6 alone, for scale" "$floor_packages" "$floor_mb"
echo "without Recommends apt would install $(in_root apt-get -s install --no-install-recommends "./tmp/$(basename "$deb")" | grep -c '^Inst') packages"
in_root apt install -y "./tmp/$(basename "$deb")" >"$root/tmp/install.log" 2>&1 || { tail -30 "$root/tmp/install.log"; exit 1; }
grep -E '^(Need to get|After this operation|[0-9]+ upgraded)' "$root/tmp/install.log"
echo "installed in $((SECONDS - started)) s; Qt packages now: $(in_root dpkg-query -W -f='${Package}\n' 'libqt6*' 'qt6-*' 2>/dev/null | tr '\n' ' ')"
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' karvelo
rm "$root/tmp/$(basename "$deb")"
left_of_karvelo >"$root/tmp/installed"
echo "the same check as after removing finds now: $(grep -vc -e 'mentioned in' -e 'dpkg:' "$root/tmp/installed") paths of karvelo, $(grep -c 'mentioned in' "$root/tmp/installed") files naming it ($(grep 'mentioned in' "$root/tmp/installed" | grep -v -e /usr/share/doc/karvelo -e /usr/share/metainfo -e /usr/share/applications/org.karvelo -e /usr/lib/karvelo -e /usr/share/man | sed 's/.*mentioned in //' | tr '\n' ' '))"

step "starting the game as the player through the desktop entry's Exec, on Xvfb"
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/org.karvelo.Karvelo.desktop")
echo "Exec=$exec_line"
read -r -a command <<<"$exec_line"
"$one_move" chroot --userspec=player:player "$root" \
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME=/home/player USER=player LOGNAME=player "${command[@]}" |
  sed 's/^/  /'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || { echo "the move was not played (status $status)"; exit 1; }

step "the player's highscore file"
in_root ls -l /home/player/.local/share/karvelo/ /home/player/.local/share/karvelo/P1.dat
table=$root/home/player/.local/share/karvelo/P1.dat
cmp -s "$table" "$root/usr/share/games/karvelo/P1.dat" && echo "the shipped table, as copied on the first start:"
tr '\0' '|' <"$table" | tr -s ' ' | head -c 160
echo

step "apt remove karvelo"
in_root apt remove -y karvelo 2>&1 | grep -E '^(Removing|[0-9]+ upgraded)'
echo "left of karvelo:"
left_of_karvelo
echo "its dependencies stay; apt autoremove would take $(in_root apt-get -s autoremove | grep -c '^Remv') packages"

step "apt purge karvelo"
# Without conffiles or maintainer scripts dpkg keeps nothing after a remove: apt then knows no
# karvelo to purge, and says so.
in_root apt purge -y karvelo 2>&1 | grep -v -E '^$|^WARNING|^Reading|^Building' || true
echo "left of karvelo:"
left_of_karvelo
echo "the player's folder stays: $(cd "$root" && find home/player/.local/share/karvelo | tr '\n' ' ')"
