#!/usr/bin/env bash
# Builds everything: the native tree in build/ (the Linux plug-in, the tools, the tests, the banks
# and the skins' pictures), then the Windows plug-ins: the 32-bit deliverables in build-win32/
# and their 64-bit twins in build-win64/, cross-compiled with the banks and pictures the native
# build made.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

# ZORVANE_WERROR=ON (as the test command sets it) makes every warning an error; unset, the
# folders keep what they were configured with. ZORVANE_CMAKE_OPTIONS adds options to the native
# build's configuration.
werror=()
[ -z "${ZORVANE_WERROR:-}" ] || werror=(-DZORVANE_WERROR="$ZORVANE_WERROR")
read -r -a options <<<"${ZORVANE_CMAKE_OPTIONS:-}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZORVANE_WINDOWS_BUILDS="$root/build-win32;$root/build-win64" \
  "${werror[@]}" "${options[@]}" >/dev/null
cmake --build build -j"$jobs"

for target in win32:i686 win64:x86_64; do
  folder=build-${target%%:*}
  cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${target##*:}.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DZORVANE_BANK_DIR="$root/build/resources" -DZORVANE_SKIN_DIR="$root/build/editor/skins" "${werror[@]}" >/dev/null
  cmake --build "$folder" -j"$jobs"
done
echo "Plug-ins: build/zorvane.so, build-win32/QuenloWide.dll, build-win32/QuenloCompact.dll (64-bit twins in build-win64/)"
