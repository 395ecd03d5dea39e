#!/usr/bin/env bash
# Checks of the Windows plug-in modules, run by the tests.
#   check_windows.sh exports WIN32_BUILD WIN64_BUILD
#       every module exports "main" and nothing else; the 32-bit modules are PE32 i386 files
#   check_windows.sh sound BUILD WINE LINUX_HOST_CHECK LINUX_MODULE PROGRAM
#       the build's large module, played under WINE (wine for 32 bits, wine64 for 64), sounds like
#       the Linux module within 1e-5
#   check_windows.sh stack WIN32_BUILD
#       the 32-bit host calls with the stack aligned to 4 bytes only: a module planted with a
#       function that trusts 16 crashes under it, and plays when the host keeps 16
set -euo pipefail

# Waits for the wine server of $WINEPREFIX to end, so that the next program run in the prefix
# starts its own, with its own display, instead of being served by this run's.
wine_done() { /usr/lib/wine/wineserver -w; }

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
  build="$2" wine="$3" host_check="$4" linux_module="$5" program="$6"
  work="$build/sound-check"
  mkdir -p "$work"
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  "$host_check" render "$linux_module" "$work/linux-$program.raw" "$program"
  "$wine" "$build/tests/windows/host_check.exe" render "$build/QuenloWide.dll" "$work/windows-$program.raw" "$program"
  wine_done
  "$host_check" compare "$work/linux-$program.raw" "$work/windows-$program.raw" 1e-5
  ;;
stack)
  build="$2"
  work="$build/stack-check"
  mkdir -p "$work"
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  host="$build/tests/windows/host_check.exe"
  /usr/lib/wine/wine "$host" --aligned-stack render "$build/aligned_stack_plant.dll" "$work/aligned.raw" ||
    { echo "the planted module does not play even on an aligned stack"; exit 1; }
  wine_done
  if /usr/lib/wine/wine "$host" render "$build/aligned_stack_plant.dll" "$work/misaligned.raw" >/dev/null 2>&1; then
    echo "the planted module played on the host's stack: the host does not misalign its calls"
    exit 1
  fi
  wine_done
  echo "the host's calls leave the stack aligned to 4 bytes only; the shipped modules play under them"
  ;;
*)
  echo "usage: check_windows.sh exports WIN32_BUILD WIN64_BUILD | sound BUILD WINE HOST_CHECK MODULE PROGRAM |" \
    "stack WIN32_BUILD" >&2
  exit 2
  ;;
esac
