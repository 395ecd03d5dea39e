#!/usr/bin/env bash
# jalv.gtk3 as a real host of the LV2 bundle, on JACK's dummy backend, on the X display it is run
# on (a virtual one, under xvfb-run): jalv shows the UI in its window, drawn as zorvane snapshot
# draws the editor of a fresh plug-in; a knob dragged with XTest moves that port in jalv, and
# that port alone, as the state jalv saves through its File menu shows, with the eight presets
# in it; and jalv's dump shows the UI asking the plug-in for its presets and the plug-in
# answering.
# Usage: jalv_check.sh BUNDLE_FOLDER PLUGIN_URI X11_HAND ZORVANE WORK_DIR. Exits 77 (skipped) when
# jalv.gtk3 or jackd is not installed (Debian packages jalv and jackd2).
set -euo pipefail
folder=$(realpath "$1")
uri=$2
hand=$3
zorvane=$4
work=$(realpath -m "$5")
for program in jalv.gtk3 jackd jack_wait; do
  command -v "$program" >/dev/null || { echo "$program is not installed (Debian packages jalv and jackd2)"; exit 77; }
done
rm -rf "$work"
mkdir -p "$work/home"
fail() { echo "jalv check: $*"; exit 1; }

# A home and a JACK server of its own: the user's settings and servers are neither used nor touched.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export LV2_PATH=$folder JACK_DEFAULT_SERVER=zorvane-check-$$ NO_AT_BRIDGE=1
jackd --no-realtime --name "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jackd_pid=$!
jalv_pid=
stop() {
  # jalv ignores a polite request while its save dialog runs.
  [ -z "$jalv_pid" ] || { kill -9 "$jalv_pid" 2>/dev/null || true; wait "$jalv_pid" 2>/dev/null || true; }
  kill "$jackd_pid" 2>/dev/null || true
  wait "$jackd_pid" 2>/dev/null || true
}
trap stop EXIT
jack_wait --wait --timeout 20 >/dev/null 2>&1 || fail "the JACK server did not start: $(tail -3 "$work/jackd.log")"

"$zorvane" snapshot "$work/expected.png"
jalv.gtk3 --dump "$uri" >"$work/jalv.log" 2>&1 &
jalv_pid=$!

# The UI in jalv's window, as the command-line host draws the editor of a fresh plug-in.
ui=$("$hand" find-window 700 700 30) || fail "no UI in jalv's window: $(tail -5 "$work/jalv.log")"
"$hand" match "$ui" "$work/expected.png" 10 "$work/shown.png" ||
  fail "the UI in jalv differs from zorvane snapshot of the same state (see $work/shown.png)"

# Line 1's cutoff knob, where two snapshots differ, dragged up.
cutoff=69
"$zorvane" snapshot "$work/low.png" --set "$cutoff=0.2"
"$zorvane" snapshot "$work/high.png" --set "$cutoff=0.8"
read -r x y <<<"$("$hand" centre "$work/low.png" "$work/high.png")"
"$hand" drag "$ui" "$x" "$y" 0 -40
sleep 0.5

# jalv saves its state, with the port values it holds: File > Save, a folder's name, Enter.
top=$("$hand" named Zorvane 5) || fail "no jalv window"
"$hand" keys "$top" ctrl+s
dialog=$("$hand" named "Save State" 10) || fail "jalv shows no save dialog"
"$hand" type "$dialog" "$work/saved"
for _ in $(seq 20); do
  [ -f "$work/saved/state.ttl" ] && break
  "$hand" keys "$dialog" Return
  sleep 0.5
done
[ -f "$work/saved/state.ttl" ] || fail "jalv saved no state"

# Each control port's symbol and value: its default in the plug-in's description, and in jalv's
# saved state.
values() { awk -v key="$1" '/lv2:symbol/ { gsub(/[";]/, "", $2); symbol = $2 } $1 == key { print symbol, $2 }'; }
values lv2:default <"$folder/zorvane.lv2/zorvane.ttl" | sort >"$work/defaults.txt"
values pset:value <"$work/saved/state.ttl" | sort >"$work/state.txt"
[ "$(wc -l <"$work/defaults.txt")" -eq 121 ] || fail "the ports' defaults were not read"
[ "$(join "$work/defaults.txt" "$work/state.txt" | wc -l)" -eq 121 ] || fail "jalv's state lacks ports"
# jalv writes eight decimals.
changed=$(join "$work/defaults.txt" "$work/state.txt" | awk '{ d = $2 - $3; if (d < 0) d = -d;
  if (d > 1e-8 + 1e-6 * ($2 < 0 ? -$2 : $2)) print $1, $2, $3 }')
echo "ports that differ from a fresh plug-in's: $changed"
read -r symbol before after <<<"$changed"
[ "$symbol" = d1_filt_cutoff ] && [ "$(wc -l <<<"$changed")" -eq 1 ] ||
  fail "the drag should move line 1's cutoff alone: $changed"
awk -v before="$before" -v after="$after" 'BEGIN { exit !(after > before) }' || fail "dragged up, the cutoff fell"
grep -q "<$uri#presets>" "$work/saved/state.ttl" || fail "jalv's state holds no presets"

# The UI asked for the presets, and the plug-in answered with them.
grep -A8 "UI => Plugin" "$work/jalv.log" | grep -q "patch:Get" || fail "jalv saw no patch:Get from the UI"
grep -A8 "Plugin => UI" "$work/jalv.log" | grep -q "patch:Set" || fail "jalv saw no patch:Set from the plug-in"
grep -q "<$uri#presets>" "$work/jalv.log" || fail "the messages name no presets"
echo "jalv check passed"
