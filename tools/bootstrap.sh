#!/usr/bin/env bash
# Installs the Debian packages the build, the packaging and the tests need; does nothing when all
# are present. With --wine32 (the test command's setup) it also enables the i386 architecture and
# installs wine32, which runs the 32-bit Windows modules: a change to the machine's package
# sources that the quick start leaves alone.
set -euo pipefail

packages=(
  cmake
  g++
  make
  libgtest-dev
  libbenchmark-dev
  clang
  libclang-rt-14-dev
  g++-mingw-w64-i686
  g++-mingw-w64-x86-64
  wine64
  xvfb
  xauth
  x11-xserver-utils
  libsndfile1-dev
  libpng-dev
  libx11-dev
  libxext-dev
  libxtst-dev
  libxres-dev
  libxfixes-dev
  ardour
  libfreetype-dev
  fonts-dejavu-core
  fonts-dejavu-extra
  librsvg2-dev
  libimagequant-dev
  python3
  pkg-config
  zip
  unzip
  lintian
  dpkg-dev
  fakeroot
  faketime
  debootstrap
  lv2-dev
  lilv-utils
  sordi
  liblilv-dev
  jalv
  jackd2
)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# A mirror caught mid-sync refuses an index for a while; the lists are read again, and when one
# index stays refused the install goes on with the others (apt keeps what it had), so a package
# truly out of reach fails the install with apt's own message.
update_lists() {
  local attempt
  for attempt in 1 2 3; do
    "${as_root[@]}" apt-get update -q && return 0
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -lt 3 ] && sleep $((attempt * 30))
  done
  echo "apt-get update: going on with the package lists that were read" >&2
}

if [ "${1:-}" = "--wine32" ]; then
  packages+=(wine32:i386)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
    # The package lists must now include i386, even where the other packages are present.
    update_lists
  fi
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
update_lists
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
