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

# A mirror caught mid-sync refuses an index whose size or hash differs from its signed Release.
# The lists are read again; an index still refused is then taken as the mirror serves it, without
# the Release's check (the packages it names are still checked against it), because without it
# apt resolves that architecture against older versions and multi-arch installs break. Each one
# taken so is named; a package truly out of reach fails the install with apt's own message.
take_refused_indexes() {
  local refused uri filename scratch
  refused=$(grep -o 'Failed to fetch [^ ]*' "$1" | sed 's/^Failed to fetch //; s/\.[a-z0-9]*$//' | sort -u)
  scratch=$(mktemp -d)
  while read -r uri filename; do
    grep -qxF "$uri" <<<"$refused" || continue
    if "${as_root[@]}" /usr/lib/apt/apt-helper download-file "$uri.xz" "$scratch/index.xz" \
      && /usr/lib/apt/apt-helper cat-file "$scratch/index.xz" > "$scratch/index" \
      && grep -q '^Package: ' "$scratch/index"; then
      "${as_root[@]}" cp "$scratch/index" "$filename"
      echo "WARNING: $uri taken unverified: the mirror's copy does not match its Release" >&2
    fi
    rm -f "$scratch/index.xz" "$scratch/index"
  done < <(apt-get indextargets --no-release-info --format '$(URI) $(FILENAME)' 'Created-By: Packages')
  rm -rf "$scratch"
}

update_lists() {
  local attempt log
  log=$(mktemp)
  for attempt in 1 2 3; do
    if "${as_root[@]}" apt-get update -q 2>&1 | tee "$log"; then
      rm -f "$log"
      return 0
    fi
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -lt 3 ] && sleep $((attempt * 30))
  done
  take_refused_indexes "$log"
  rm -f "$log"
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
