#!/usr/bin/env bash
# Checks the release packages in dist/ as a musician gets them: every file where the install
# notes say, each Windows module run from the zip under wine in its width (identity, sound
# against the Linux module, the editor), the Debian package's layout and fields, lintian without
# an error, the extracted zorvane rendering with the extracted module, Ardour's scanner finding
# the module in the extracted lib/vst, lilv finding the LV2 plug-in, its presets and its UI in
# each extracted lib/lv2 and lv2apply running it, and the checksums.
# Usage: package_check.sh WORK_DIR (run from the top of the tree, after tools/package.sh).
set -euo pipefail
work=$(realpath -m "$1")
root=$(pwd)
version=$(sed -n 's/^project(Zorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$root/dist
rm -rf "$work"
mkdir -p "$work"

fail() { echo "package check: $*" >&2; exit 1; }
# Runs a Windows program under wine and waits for the prefix's server to end: a server that
# outlives it would serve the next run with this one's display, or none.
under_wine() {
  local status=0
  "$@" || status=$?
  /usr/lib/wine/wineserver -w
  return $status
}
# The LV2 bundle's files, below a prefix.
lv2_files() {
  for file in manifest.ttl presets.ttl zorvane.so zorvane.ttl zorvane_ui.so; do
    echo "$1/lib/lv2/zorvane.lv2/$file"
  done
}
# An LV2 host finds the bundle in the lib/lv2 below the prefix $1, with its presets and its UI's
# module there, and plays through it.
check_lv2() {
  local folder=$1/lib/lv2 uri=https://brisval.example/plugins/zorvane
  local described
  described=$(LV2_PATH=$folder lv2info "$uri") || fail "no LV2 plug-in in $folder"
  grep -q "Ping-pong delay - 3/4 beat" <<<"$described" || fail "the LV2 plug-in in $folder lists no presets"
  grep -q "Binary: *file://$folder/zorvane.lv2/zorvane_ui.so" <<<"$described" || fail "no UI module in $folder"
  LV2_PATH=$folder lv2apply -i "$work/demo.wav" -o "$work/lv2.wav" -c d1_fdbk 80 "$uri" >/dev/null ||
    fail "lv2apply does not run the LV2 plug-in in $folder"
  [ -s "$work/lv2.wav" ] || fail "the LV2 plug-in in $folder played nothing"
  rm "$work/lv2.wav"
}
# Fails unless the sorted lines of $1 equal the words that follow.
expect_list() {
  local actual=$1
  shift
  local expected
  expected=$(printf '%s\n' "$@" | sort)
  [ "$actual" = "$expected" ] || fail "unexpected contents:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
}

(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "the checksums do not match"
expect_list "$(sed 's/^[0-9a-f]*  //' "$dist/SHA256SUMS" | sort)" "zorvane-$version-windows.zip" \
  "zorvane_${version}_amd64.deb" "zorvane-$version-linux-x86_64.tar.gz"

# --- The Windows zip.
zip=$dist/zorvane-$version-windows.zip
expect_list "$(unzip -Z1 "$zip" | sort)" INSTALL.txt 32-bit/QuenloWide.dll 32-bit/QuenloCompact.dll \
  64-bit/QuenloWide.dll 64-bit/QuenloCompact.dll
unzip -q "$zip" -d "$work/windows"
build/tests/host_check render build/zorvane.so "$work/linux.raw" 6 >/dev/null
for width in 32 64; do
  case $width in
  32) wine=/usr/lib/wine/wine objdump=i686-w64-mingw32-objdump format=pei-i386 ;;
  64) wine=/usr/lib/wine/wine64 objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 ;;
  esac
  hosts=$root/build-win$width/tests/windows
  export WINEPREFIX=$root/build-win$width/wineprefix WINEDEBUG=-all
  for module in QuenloWide QuenloCompact; do
    dll=$work/windows/$width-bit/$module.dll
    "$objdump" -f "$dll" | grep -q "file format $format" || fail "$width-bit/$module.dll is not $format"
    # Both skins at three scales fit a module of under 15 MB.
    bytes=$(stat -c %s "$dll")
    [ "$bytes" -lt 15728640 ] || fail "$width-bit/$module.dll is $bytes bytes, over 15 MB"
    echo "$width-bit/$module.dll: $bytes bytes"
    # The modules carry their runtime: they import the system's DLLs and nothing else.
    imports=$("$objdump" -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
    while read -r imported; do
      case $imported in
      kernel32.dll | user32.dll | gdi32.dll | comdlg32.dll | advapi32.dll | shell32.dll | ole32.dll | msvcrt.dll | \
        msimg32.dll | winmm.dll | api-ms-win-*.dll) ;;
      *) fail "$width-bit/$module.dll imports $imported, which Windows does not bring" ;;
      esac
    done <<<"$imports"
    # Identity and sound: host_check checks the identity and renders program 6.
    under_wine "$wine" "$hosts/host_check.exe" render "$dll" "$work/$width-$module.raw" 6 || fail "$width-bit/$module.dll does not play"
    build/tests/host_check compare "$work/linux.raw" "$work/$width-$module.raw" 1e-5 >/dev/null ||
      fail "$width-bit/$module.dll does not sound like the Linux module"
    # The editor opens in a host window at its size and draws.
    # (Wine takes a Unix path for one on the current drive, Z:, which is the root.)
    printf 'create 0\nrect 0\nopen 0\npump 300\nwindow 0\ndump 0 %s\nclose 0\nwindow 0\n' "$work/$width-$module.ppm" >"$work/script.txt"
    facts=$(under_wine xvfb-run -a "$wine" "$hosts/editor_host.exe" "$dll" "$work/script.txt" 2>>"$work/wine.log")
    size=$([ $module = QuenloWide ] && echo "700 700" || echo "500 422")
    grep -q "^fact window 1 [^ ]* [^ ]* $size 1 " <<<"$facts" || fail "$width-bit/$module.dll: no editor of $size: $facts"
    grep -q "^fact window 0 " <<<"$facts" || fail "$width-bit/$module.dll: the editor stays after closing"
    colours=$(tail -c +16 "$work/$width-$module.ppm" | od -An -v -tx1 -w3 | sort -u | wc -l)
    [ "$colours" -gt 100 ] || fail "$width-bit/$module.dll: the editor drew $colours colours"
  done
done
grep -q $'\r$' "$work/windows/INSTALL.txt" || fail "the Windows install note has no Windows line ends"

# --- The Debian package.
deb=$dist/zorvane_${version}_amd64.deb
expect_list "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)" ./usr/bin/zorvane ./usr/lib/vst/zorvane.so \
  ./usr/lib/zorvane/zorvane_compact.so $(lv2_files ./usr) ./usr/share/doc/zorvane/README.md \
  ./usr/share/doc/zorvane/changelog.gz ./usr/share/doc/zorvane/copyright ./usr/share/man/man1/zorvane.1.gz
dpkg-deb -c "$deb" | awk '{ print $2 }' | grep -qv '^root/root$' && fail "files in the package not owned by root"
[ "$(dpkg-deb -f "$deb" Package Version Architecture Section Recommends)" = \
  "Package: zorvane
Version: $version
Architecture: amd64
Section: sound
Recommends: zenity | kdialog" ] || fail "unexpected control fields: $(dpkg-deb -f "$deb")"
for library in libc6 libstdc++6 libx11-6 libsndfile1; do
  dpkg-deb -f "$deb" Depends | grep -q "$library" || fail "Depends lacks $library: $(dpkg-deb -f "$deb" Depends)"
done
lintian --fail-on error "$deb" 2>"$work/lintian.log" || fail "lintian reports errors"

dpkg-deb -x "$deb" "$work/deb"
"$work/deb/usr/bin/zorvane" --quiet render --demo "$work/demo.wav" --program 6 || fail "the packaged zorvane does not render"
[ -s "$work/demo.wav" ] || fail "the packaged zorvane wrote nothing"
[ "$(find "$work/deb/usr/lib/vst" -type f)" = "$work/deb/usr/lib/vst/zorvane.so" ] || fail "more than one module in lib/vst"
check_lv2 "$work/deb/usr"
if [ -x /usr/lib/ardour7/ardour-vst-scanner ]; then
  tests/ardour/ardour_check.sh "$work/deb/usr/lib/vst/zorvane.so" "$work/ardour" --in-place >"$work/ardour.log" 2>&1 ||
    fail "Ardour does not find the packaged module: $(tail -5 "$work/ardour.log")"
fi

# --- The tarball.
tarball=$dist/zorvane-$version-linux-x86_64.tar.gz
name=zorvane-$version-linux-x86_64
expect_list "$(tar -tzf "$tarball" | grep -v '/$' | sort)" "$name/INSTALL.txt" "$name/bin/zorvane" "$name/lib/vst/zorvane.so" \
  "$name/lib/zorvane/zorvane_compact.so" $(lv2_files "$name") "$name/share/doc/zorvane/README.md" \
  "$name/share/man/man1/zorvane.1.gz"
tar -tvzf "$tarball" | awk '{ print $2 }' | grep -qv '^0/0$' && fail "files in the tarball not owned by 0/0"
tar -xzf "$tarball" -C "$work"
"$work/$name/bin/zorvane" programs | grep -q "^6	" || fail "the tarball's zorvane does not list the programs"
check_lv2 "$work/$name"
echo "package check passed"
