#!/usr/bin/env bash
# Installs a build tree into a scratch prefix, as a package does, and checks the layout hosts
# expect: one module in lib/vst, the other skin's module outside every folder hosts scan, the
# command-line host in bin finding the installed module, the README with the documentation.
# Usage: install_check.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
prefix=$2/prefix
rm -rf "$prefix"
for component in vst cli doc; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done

fail() { echo "install: $*"; exit 1; }
for file in lib/vst/zorvane.so lib/zorvane/zorvane_compact.so bin/zorvane share/doc/zorvane/README.md; do
  [ -f "$prefix/$file" ] || fail "no $file"
done
[ "$(find "$prefix/lib/vst" -type f | wc -l)" -eq 1 ] || fail "hosts would load more than one module from lib/vst"
[ ! -e "$prefix/bin/zorvane.so" ] || fail "a module beside the program"

# The installed program finds the module in ../lib/vst: nothing lies beside it.
info=$("$prefix/bin/zorvane" info) || fail "the installed zorvane cannot load its module"
grep -q "Zorvane" <<<"$info" || fail "unexpected identity: $info"
programs=$("$prefix/bin/zorvane" programs)
[ "$(wc -l <<<"$programs")" -eq 34 ] || fail "the installed module lists $(wc -l <<<"$programs") programs"
echo "install check passed"
