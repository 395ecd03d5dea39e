#!/usr/bin/env bash
# The Debian package installs with apt on a clean Debian: a minimal system of this machine's
# release, made with debootstrap, takes it with its dependencies, the installed zorvane plays
# through the installed module, and the LV2 bundle lies where LV2 hosts look. Needs root and
# Debian's mirror.
# Usage: clean_install_check.sh WORK_DIR (run from the top of the tree, after tools/package.sh).
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
work=$(realpath -m "$1")
version=$(sed -n 's/^project(Zorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=dist/zorvane_${version}_amd64.deb
fail() { echo "clean install: $*" >&2; exit 1; }

. /etc/os-release
system=$work/debian-$VERSION_CODENAME
rm -rf "$work"
mkdir -p "$work"
debootstrap --variant=minbase "$VERSION_CODENAME" "$system" http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1 ||
  fail "debootstrap failed: $(tail -3 "$work/debootstrap.log")"
cp /etc/resolv.conf "$system/etc/"
cp "$deb" "$system/tmp/"
inside() { chroot "$system" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@"; }

inside apt-get update -q >"$work/apt.log" 2>&1 || fail "apt-get update failed"
# With recommendations, apt brings a dialog program for the bank buttons.
inside apt-get install -s "/tmp/$(basename "$deb")" | grep -qE '^Inst (zenity|kdialog) ' ||
  fail "apt would not bring zenity or kdialog"
inside apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >>"$work/apt.log" 2>&1 ||
  fail "apt cannot install the package: $(tail -5 "$work/apt.log")"
inside zorvane info | grep -q "^effect name: *Zorvane$" || fail "the installed zorvane cannot load the installed module"
inside zorvane --quiet render --demo /tmp/demo.wav --program 6 || fail "the installed zorvane does not render"
[ -s "$system/tmp/demo.wav" ] || fail "nothing rendered"
[ -f "$system/usr/lib/lv2/zorvane.lv2/manifest.ttl" ] || fail "no LV2 bundle in /usr/lib/lv2"
inside apt-get remove -y -q zorvane >>"$work/apt.log" 2>&1 || fail "apt cannot remove the package"
[ ! -e "$system/usr/lib/vst/zorvane.so" ] || fail "the module stays after removal"
[ ! -e "$system/usr/lib/lv2/zorvane.lv2" ] || fail "the LV2 bundle stays after removal"
rm -rf "$system"
echo "clean install check passed"
