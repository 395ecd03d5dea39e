#!/usr/bin/env bash
# Installs a build tree into a scratch prefix, as a package does, and checks the layout hosts
# expect: one module in lib/vst, the LV2 bundle in lib/lv2, the other skin's module outside every folder hosts scan, the
# command-line host in bin finding the installed module, the README with the documentation.
# Usage: install_check.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
prefix=$2/prefix
rm -rf "$prefix"
for component in vst lv2 cli doc; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done

fail() { echo "install: $*"; exit 1; }
for file in lib/vst/zorvane.so lib/zorvane/zorvane_compact.so bin/zorvane share/doc/zorvane/README.md \
  lib/lv2/zorvane.lv2/zorvane.so lib/lv2/zorvane.lv2/zorvane_ui.so lib/lv2/zorvane.lv2/manifest.ttl lib/lv2/zorvane.lv2/zorvane.ttl \
  lib/lv2/zorvane.lv2/presets.ttl; do
  [ -f "$prefix/$file" ] || fail "no $file"
done
[ "$(find "$prefix/lib/vst" -type f | wc -l)" -eq 1 ] || fail "hosts would load more than one module from lib/vst"
[ ! -e "$prefix/bin/zorvane.so" ] || fail "a module beside the program"

# The installed program finds the module in ../lib/vst: nothing lies beside it.
info=$("$prefix/bin/zorvane" info) || fail "the installed zorvane cannot load its module"
grep -q "Zorvane" <<<"$info" || fail "unexpected identity: $info"
programs=$("$prefix/bin/zorvane" programs)
[ "$(wc -l <<<"$programs")" -eq 34 ] || fail "the installed module lists $(wc -l <<<"$programs") programs"
# An LV2 host finds the installed bundle in lib/lv2 with its presets and its editor's module.
lv2=$(LV2_PATH="$prefix/lib/lv2" lv2info https://brisval.example/plugins/zorvane) || fail "no LV2 plug-in in lib/lv2"
grep -q "Ping-pong delay - 3/4 beat" <<<"$lv2" || fail "the LV2 plug-in lists no presets"
grep -q "Binary: *file://$prefix/lib/lv2/zorvane.lv2/zorvane_ui.so" <<<"$lv2" || fail "the LV2 plug-in lists no UI module"
echo "install check passed"
