#!/usr/bin/env bash
# Ardour as a Linux host for one module: its VST scanner lists the module with an editor, and its
# Lua session tool instantiates it on the dummy backend and plays audio through it.
# Usage: ardour_check.sh MODULE.so WORK_DIR [--in-place]. Ardour scans a folder holding a copy
# of the module, or with --in-place the module's own folder. Exits 77 (skipped) when Ardour is
# not installed.
set -euo pipefail
module=$1
work=$2
scanner=/usr/lib/ardour7/ardour-vst-scanner
lua=$(command -v ardour7-lua || true)
if [ ! -x "$scanner" ] || [ -z "$lua" ]; then
  echo "Ardour 7 is not installed (Debian package ardour)"
  exit 77
fi

# A home of its own, so that the user's Ardour settings and caches are neither used nor touched.
rm -rf "$work"
mkdir -p "$work/vst" "$work/home"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
if [ "${3:-}" = "--in-place" ]; then
  installed=$(realpath "$module")
else
  installed=$work/vst/$(basename "$module")
  cp "$module" "$installed"
fi
export LXVST_PATH=$(dirname "$installed")

scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -v -f "$installed" 2>&1)
echo "$scan"
for expected in 'name="Zorvane"' 'creator="Brisval"' 'n_inputs="2"' 'n_outputs="2"' 'can_process_replace="1"' \
                'has_editor="1"'; do
  grep -q "$expected" <<<"$scan" || { echo "scanner: missing $expected"; exit 1; }
done
# Ardour takes a cache only when it is newer than the module.
touch -d '1 minute' "$XDG_CACHE_HOME"/ardour7/vst/*.v2i

output=$(timeout 300 "$lua" "$(dirname "$0")/session_check.lua" "$work/session" 2>&1) || true
echo "$output"
grep -q "^check passed$" <<<"$output"
