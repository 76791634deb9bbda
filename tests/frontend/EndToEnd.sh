#!/usr/bin/env bash
# The program as a user meets it, on a virtual X server: start pixtor on the
# demo cartridge, press Return and hold an arrow key, grab the window, and
# find the grabbed screen among the pictures the headless runner makes of
# the same cartridge and input; then Escape, and the settings file holds
# the defaults. Run inside xvfb-run.
# Usage: EndToEnd.sh PIXTOR PIXTOR-HEADLESS CARTRIDGE
set -euo pipefail
pixtor=$1 runner=$2 cartridge=$3
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config

fail() { echo "FAIL: $*"; exit 1; }

"$pixtor" --record "$work/input.txt" "$cartridge" 2>"$work/stderr" &
pid=$!
for _ in $(seq 100); do
  window=$(xdotool search --name '^Pixtor$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "${window:-}" ] || fail "no window"
xdotool windowfocus --sync "$window"
sleep 1.5

# As a player would: Start on the title, then run right for a second. A key
# must be held across a frame to be seen, as on the console.
xdotool keydown Return; sleep 0.3; xdotool keyup Return
sleep 1
xdotool keydown Right; sleep 1; xdotool keyup Right
sleep 0.5
xwd -id "$window" -silent >"$work/window.xwd"

# The window is 400 x 310; the screen stands at 49, 31.
convert "$work/window.xwd" "$work/window.png"
[ "$(identify -format '%wx%h' "$work/window.png")" = 400x310 ] || fail "window size $(identify -format '%wx%h' "$work/window.png")"
convert "$work/window.png" -crop 256x240+49+31 +repage "$work/screen.png"

xdotool key Escape
wait "$pid" || fail "pixtor exited with $?"
pid=

grep -q ' Start' "$work/input.txt" || fail "Return never reached pad 1: $(cat "$work/input.txt")"
grep -q ' Right' "$work/input.txt" || fail "Right never reached pad 1: $(cat "$work/input.txt")"

# The grab shows a frame after the last recorded change, within a few seconds of it.
last=$(awk '!/^#/ { f = $1 } END { print f }' "$work/input.txt")
match=
for ((frames = last; frames <= last + 240; ++frames)); do
  "$runner" --frames "$frames" --frame-rate 3 --input "$work/input.txt" --snapshot "$work/frame.bmp" "$cartridge" >/dev/null
  if [ "$(compare -metric AE "$work/screen.png" "$work/frame.bmp" null: 2>&1)" = 0 ]; then
    match=$frames
    break
  fi
done
[ -n "$match" ] || fail "the grabbed screen is none of the runner's frames $last to $((last + 240))"
echo "grabbed screen is the runner's frame $match (input last changed on frame $last)"

# The built-in skin: the background shows round the screen, the command buttons are drawn.
corner=$(convert "$work/window.png" -crop 4x4+2+270 +repage -format '%[fx:mean]' info:)
[ "$corner" != 0 ] || fail "no skin background"
open_button=$(convert "$work/window.png" -crop 33x33+12+31 +repage -format '%[fx:standard_deviation]' info:)
[ "$open_button" != 0 ] || fail "the Open button has no glyph"

settings=$XDG_CONFIG_HOME/Brovane/Pixtor.conf
[ -f "$settings" ] || fail "no settings file at exit"
for value in FrameRate=3 SoundVolume=255 SoundChannel1=1 WIN=0 UP=38 START=13 SELECT=9 UP=69 A=16 ENABLED=0; do
  grep -q "^$value\$" "$settings" || fail "settings file lacks $value"
done
echo "settings file written with its defaults"
