#!/usr/bin/env bash
# Ardour as a host of the LV2 bundle: its Lua session tool puts the plug-in on a track of a
# session on the dummy backend, applies a preset, saves the session, loads it again, and finds
# the same port values; the saved state holds the eight editor presets.
# Usage: lv2_session_check.sh BUNDLE_FOLDER PLUGIN_URI WORK_DIR. Exits 77 (skipped) when Ardour
# is not installed.
set -euo pipefail
folder=$1
uri=$2
work=$3
lua=$(command -v ardour7-lua || true)
if [ -z "$lua" ]; then
  echo "Ardour 7 is not installed (Debian package ardour)"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
# A home of its own, so that the user's Ardour settings and caches are neither used nor touched.
rm -rf "$work"
mkdir -p "$work/home"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export LV2_PATH=$(realpath "$folder")

saved=$(timeout 300 "$lua" "$here/lv2_session_save.lua" "$work/session" "$uri" 2>&1) || true
echo "$saved"
grep -q "^saved$" <<<"$saved" || { echo "the session was not saved"; exit 1; }
loaded=$(timeout 300 "$lua" "$here/lv2_session_load.lua" "$work/session" 2>&1) || true
echo "$loaded"
grep -q "^loaded$" <<<"$loaded" || { echo "the session did not load"; exit 1; }

before=$(grep "^values " <<<"$saved")
after=$(grep "^values " <<<"$loaded")
[ -n "$before" ] && [ "$before" = "$after" ] || { echo "the port values differ after reloading"; exit 1; }
fresh=$(grep "^fresh " <<<"$saved" | cut -d' ' -f2-)
[ "$fresh" != "$(cut -d' ' -f2- <<<"$before")" ] || { echo "the preset did not apply"; exit 1; }

state=$(find "$work/session/plugins" -name state.ttl | head -1)
[ -n "$state" ] || { echo "no saved plug-in state"; exit 1; }
grep -q "${uri}#presets" "$state" || { echo "the saved state has no presets"; exit 1; }
grep -q "${uri}#stateVersion" "$state" || { echo "the saved state has no version"; exit 1; }
echo "check passed"
