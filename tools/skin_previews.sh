#!/usr/bin/env bash
# Draws both skins from a built tree (tools/build.sh first) into docs/ with the real editor on the
# headless window: each skin with two delay lines and a parameter in the detail panel, and the
# large one with one line as well; and both at 2x, as high-density screens show them.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p docs
program=6  # the ping-pong program: two cross-fed lines
build/zorvane snapshot docs/skin-wide.png --skin wide --program "$program" --select "D1 fdbk"
build/zorvane snapshot docs/skin-wide-one-line.png --skin wide --select "D1 filt cutoff"
build/zorvane snapshot docs/skin-compact.png --skin compact --program "$program" --select "D1 fdbk"
build/zorvane snapshot docs/skin-wide-2x.png --skin wide --scale 2 --program "$program" --select "D1 fdbk"
build/zorvane snapshot docs/skin-compact-2x.png --skin compact --scale 2 --program "$program" --select "D1 fdbk"
echo "docs/skin-wide.png, docs/skin-wide-one-line.png, docs/skin-compact.png, docs/skin-wide-2x.png, docs/skin-compact-2x.png"
