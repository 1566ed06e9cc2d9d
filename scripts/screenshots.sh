#!/usr/bin/env bash
# Remakes the pictures in docs/: the Veltrano dialog after a placement over the demo selection,
# taken from a virtual X display, and the map mbhost draws of the result.
# Needs mbhost and veltrano built (scripts/run.sh makes a release build; VELTRANO_APPS names
# another build's app folder). Usage:
#   scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
apps=${VELTRANO_APPS:-build/release/app}
mbhost=$apps/mbhost/mbhost
veltrano=$apps/veltrano/veltrano
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; cat "$work"/*.log >&2; rm -rf "$work"' EXIT

mkdir -p demo/data
export MBHOST_SOCKET=$work/socket
"$mbhost" --socket "$MBHOST_SOCKET" --script demo/generate.mb --script demo/startup.mb \
  >"$work/mbhost.log" 2>&1 </dev/null &
for _ in $(seq 100); do "$mbhost" --attach -e '2*2' >/dev/null 2>&1 && break; sleep 0.1; done

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 800x500x24 >/dev/null 2>&1 &
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb
"$veltrano" >"$work/veltrano.log" 2>&1 &
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name "Put points along" 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "the dialog did not open" >&2; exit 1; }
xdotool windowmove "$window" 0 0
sleep 0.5

# Control places in pixels at 96 dpi: twips * 96 / 1440.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
click 100 150                                   # txtPoints
xdotool type --delay 40 "1000;5000"
xdotool key Return
xdotool type --delay 40 "20000;100000"
click 330 40                                    # Combo1's edit field
xdotool key ctrl+a
xdotool type --delay 40 "placed"
click 242 314                                   # cmdOK
sleep 3
import -window "$window" docs/dialog.png
"$mbhost" --attach -x "Save Window FrontWindow() As \"$(pwd)/docs/map.png\"" >/dev/null
echo "Wrote docs/dialog.png and docs/map.png"
"$mbhost" --attach -x 'End MapInfo' >/dev/null 2>&1 || true
