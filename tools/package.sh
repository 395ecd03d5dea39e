#!/usr/bin/env bash
# Builds the release packages into dist/:
#   zorvane-VERSION-windows.zip        the 32-bit and 64-bit Windows modules and an install note
#   zorvane_VERSION_amd64.deb          the Linux modules, the LV2 bundle, zorvane and its man page,
#                                      for Debian
#   zorvane-VERSION-linux-x86_64.tar.gz the same files for other distributions
#   SHA256SUMS
# The same commit gives the same bytes wherever and whenever it is built: every time stamped
# is the commit's (SOURCE_DATE_EPOCH), and file order, owners and modes are fixed.
# ZORVANE_CMAKE_OPTIONS passes options to the native build (the reproducibility check leaves the
# tests out with it).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

version=$(sed -n 's/^project(Zorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C
umask 022

tools/build.sh

stage=$root/build-package
dist=$root/dist
rm -rf "$stage" "$dist"
mkdir -p "$stage" "$dist"

# Every file of a staged tree with the commit's time and plain modes: folders and programs
# 0755, everything else 0644.
normalise() {
  find "$1" -type d -exec chmod 0755 {} +
  find "$1" -type f -exec chmod 0644 {} +
  [ $# -lt 2 ] || chmod 0755 "${@:2}"
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# The Linux tree, below a prefix: the plug-in modules, the LV2 bundle, zorvane and its man page,
# the README.
linux_tree() {
  local prefix=$1
  for component in vst lv2 cli doc; do
    cmake --install build --prefix "$prefix" --component "$component" --strip >/dev/null
  done
  gzip -9n "$prefix/share/man/man1/zorvane.1"
}

# --- Windows: one zip, the 32-bit deliverables and their 64-bit twins, and the install note.
windows=$stage/windows
mkdir -p "$windows/32-bit" "$windows/64-bit"
for width in 32 64; do
  cp "build-win$width/QuenloWide.dll" "build-win$width/QuenloCompact.dll" "$windows/$width-bit/"
done
sed "s/@VERSION@/$version/g; s/\$/\r/" packaging/windows/INSTALL.txt >"$windows/INSTALL.txt"
normalise "$windows"
zip_file=$dist/zorvane-$version-windows.zip
(cd "$windows" && find . -type f | sed 's|^\./||' | sort | zip -X -D -9 -q "$zip_file" -@)

# --- Debian: the install rules' layout below /usr, the package's documents and control file.
deb=$stage/deb
linux_tree "$deb/usr"
doc=$deb/usr/share/doc/zorvane
cp packaging/debian/copyright "$doc/"
gzip -9n <packaging/debian/changelog >"$doc/changelog.gz"
maintainer=$(sed -n 's/^ -- \(.*>\)  .*/\1/p' packaging/debian/changelog | head -1)

# dpkg-shlibdeps reads the libraries the binaries link from a scratch source package.
shlibs=$stage/shlibs
mkdir -p "$shlibs/debian"
printf 'Source: zorvane\n\nPackage: zorvane\nArchitecture: amd64\n' >"$shlibs/debian/control"
binaries=("usr/bin/zorvane" "usr/lib/vst/zorvane.so" "usr/lib/zorvane/zorvane_compact.so"
  "usr/lib/lv2/zorvane.lv2/zorvane.so" "usr/lib/lv2/zorvane.lv2/zorvane_ui.so")
depends=$(cd "$shlibs" && dpkg-shlibdeps -O "${binaries[@]/#/$deb/}" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

normalise "$deb" "$deb/usr/bin/zorvane"
mkdir -m 0755 "$deb/DEBIAN"
(cd "$deb" && find usr -type f | sort | xargs md5sum) >"$deb/DEBIAN/md5sums"
installed_size=$(du -sk --apparent-size "$deb/usr" | cut -f1)
sed "s/@VERSION@/$version/; s/@MAINTAINER@/$maintainer/; s/@INSTALLED_SIZE@/$installed_size/; s/@DEPENDS@/$depends/" \
  packaging/debian/control.in >"$deb/DEBIAN/control"
chmod 0644 "$deb/DEBIAN/control" "$deb/DEBIAN/md5sums"
touch -h -d "@$SOURCE_DATE_EPOCH" "$deb/DEBIAN" "$deb/DEBIAN"/*
dpkg-deb --root-owner-group -Zxz --build "$deb" "$dist/zorvane_${version}_amd64.deb" >/dev/null

# --- Other distributions: the same tree below a folder of its own, with an install note.
name=zorvane-$version-linux-x86_64
tree=$stage/tar/$name
linux_tree "$tree"
sed "s/@VERSION@/$version/g" packaging/linux/INSTALL.txt >"$tree/INSTALL.txt"
normalise "$tree" "$tree/bin/zorvane"
tar -C "$stage/tar" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
  --format=gnu -cf - "$name" | gzip -9n >"$dist/$name.tar.gz"

(cd "$dist" && sha256sum -- *.zip *.deb *.tar.gz >SHA256SUMS)
echo "Packages in dist/ (version $version):"
(cd "$dist" && ls -l)
