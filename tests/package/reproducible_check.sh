#!/usr/bin/env bash
# The same commit gives the same packages: builds them again from a clone at another path, with
# the clock two days ahead and without the tests, and compares them byte for byte with dist/.
# Usage: reproducible_check.sh WORK_DIR (run from the top of the tree, after tools/package.sh
# on a tree without uncommitted changes).
set -euo pipefail
work=$(realpath -m "$1")
root=$(pwd)
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "reproducible check: the tree has uncommitted changes, which the clone lacks" >&2

rm -rf "$work"
clone=$work/another/path/zorvane
git clone -q --no-local "$root" "$clone"
git -C "$clone" checkout -q "$(git rev-parse HEAD)"
(cd "$clone" && ZORVANE_CMAKE_OPTIONS="-DZORVANE_TESTS=OFF -DZORVANE_BENCHMARKS=OFF" faketime -f '+2d' tools/package.sh) \
  >"$work/package.log" 2>&1 || { tail -20 "$work/package.log"; exit 1; }

status=0
for file in "$root"/dist/*; do
  name=$(basename "$file")
  if cmp -s "$file" "$clone/dist/$name"; then
    echo "same bytes: $name"
  else
    echo "differs: $name"
    status=1
  fi
done
[ "$(ls "$root/dist")" = "$(ls "$clone/dist")" ] || { echo "the two builds made different files"; status=1; }
exit $status
