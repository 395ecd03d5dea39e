#!/usr/bin/env bash
# Draws both skins from a built tree (tools/build.sh first) into docs/: each skin with two delay
# lines, and the large one with one line as well.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p docs
build/tools/skin_preview wide build/editor/skins/wide docs/skin-wide.png
build/tools/skin_preview wide build/editor/skins/wide docs/skin-wide-one-line.png --one-line
build/tools/skin_preview compact build/editor/skins/compact docs/skin-compact.png
echo "docs/skin-wide.png, docs/skin-wide-one-line.png, docs/skin-compact.png"
