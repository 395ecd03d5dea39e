#!/usr/bin/env bash
# Checks of the Windows plug-in modules, run by the tests.
#   check_windows.sh exports WIN32_BUILD WIN64_BUILD
#       every module exports "main" and nothing else; the 32-bit modules are PE32 i386 files
#   check_windows.sh sound WIN64_BUILD LINUX_HOST_CHECK LINUX_MODULE PROGRAM
#       the 64-bit module, played under wine64, sounds like the Linux module within 1e-5
set -euo pipefail

exports_of() {
  "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p'
}

case "$1" in
exports)
  for module in "$2"/QuenloWide.dll "$2"/QuenloCompact.dll; do
    [ "$(exports_of i686-w64-mingw32-objdump "$module")" = "main" ] || { echo "$module exports more than main"; exit 1; }
    i686-w64-mingw32-objdump -f "$module" | grep -q "file format pei-i386" || { echo "$module is not PE32 i386"; exit 1; }
  done
  for module in "$3"/QuenloWide.dll "$3"/QuenloCompact.dll; do
    [ "$(exports_of x86_64-w64-mingw32-objdump "$module")" = "main" ] || { echo "$module exports more than main"; exit 1; }
    x86_64-w64-mingw32-objdump -f "$module" | grep -q "file format pei-x86-64" || { echo "$module is not PE32+"; exit 1; }
  done
  echo "exports and formats as expected"
  ;;
sound)
  build="$2" host_check="$3" linux_module="$4" program="$5"
  work="$build/sound-check"
  mkdir -p "$work"
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  "$host_check" render "$linux_module" "$work/linux-$program.raw" "$program"
  /usr/lib/wine/wine64 "$build/tests/windows/host_check.exe" render "$build/QuenloWide.dll" \
    "$work/windows-$program.raw" "$program"
  "$host_check" compare "$work/linux-$program.raw" "$work/windows-$program.raw" 1e-5
  ;;
*)
  echo "usage: check_windows.sh exports WIN32_BUILD WIN64_BUILD | sound WIN64_BUILD HOST_CHECK MODULE PROGRAM" >&2
  exit 2
  ;;
esac
