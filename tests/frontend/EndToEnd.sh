#!/usr/bin/env bash
# The program as a user meets it, on a virtual X server: start pixtor on the
# demo cartridge, press Return and hold an arrow key, grab the window, and
# find the grabbed screen among the pictures the headless runner makes of
# the same cartridge and input; then Escape, and the settings file holds
# the defaults. Run inside xvfb-run.
# A second run changes a key and the frame skip in the settings dialog,
# plays with the new key, and drops another cartridge on the window.
# The first run's music, written with --midi, holds the runner's MIDI events.
# Usage: EndToEnd.sh PIXTOR PIXTOR-HEADLESS E2E-HELPER CARTRIDGE OTHER-CARTRIDGE
set -euo pipefail
pixtor=$1 runner=$2 helper=$3 cartridge=$4 other=$5
work=$(mktemp -d)
pid= dragger=
trap 'kill $pid $dragger 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

fail() { echo "FAIL: $*" >&2; exit 1; }

# find_window NAME: the first window of that name, waiting up to 10 s.
find_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  fail "no window named $1"
}

# hold KEY SECONDS: a key must be held across a frame to be seen, as on the console.
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

# grab_screen FILE: the window's screen area (256 x 240 at 49, 31 of the 400 x 310 window).
grab_screen() {
  xwd -id "$window" -silent | convert xwd:- "$work/window.png"
  [ "$(identify -format '%wx%h' "$work/window.png")" = 400x310 ] || fail "window size $(identify -format '%wx%h' "$work/window.png")"
  convert "$work/window.png" -crop 256x240+49+31 +repage "$1"
}

# runner_frame SCREEN CARTRIDGE DIVISOR [INPUT]: the frame of the runner,
# replaying the recorded input (or INPUT), whose picture is SCREEN exactly.
# The grab shows a frame after the input's last change, within a few seconds of it.
runner_frame() {
  local last frames input=${4:-$work/input.txt}
  last=$(awk '!/^#/ { f = $1 } END { print f }' "$input")
  for ((frames = last > 0 ? last : 1; frames <= last + 900; ++frames)); do
    "$runner" --frames "$frames" --frame-rate "$3" --input "$input" --snapshot "$work/frame.bmp" "$2" >/dev/null
    if [ "$(compare -metric AE "$1" "$work/frame.bmp" null: 2>&1)" = 0 ]; then
      echo "$frames"
      return
    fi
  done
  cp "$1" "${E2E_KEEP:-/tmp}/pixtor-e2e-unmatched.png"
  fail "the grabbed screen (kept in ${E2E_KEEP:-/tmp}/pixtor-e2e-unmatched.png) is none of the runner's frames $last to $((last + 900)) of $2; pixtor said: $(cat "$work/stderr")"
}

# start_pixtor [CARTRIDGE]
start_pixtor() {
  "$pixtor" --record "$work/input.txt" --midi "$work/window.mid" "$@" 2>>"$work/stderr" &
  pid=$!
  window=$(find_window '^Pixtor$')
  xdotool windowfocus --sync "$window"
  sleep 1.5
}

# caption WINDOW: the window's title as the X server holds it.
caption() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

start_pixtor "$cartridge"
[ "$(caption "$window")" = Pixtor ] || fail "the window's caption is \"$(caption "$window")\""

# As a player would: Start on the title, then run right for a second.
hold Return 0.3
sleep 1
hold Right 1
sleep 0.5
grab_screen "$work/screen.png"

grep -q ' Start' "$work/input.txt" || fail "Return never reached pad 1: $(cat "$work/input.txt")"
grep -q ' Right' "$work/input.txt" || fail "Right never reached pad 1: $(cat "$work/input.txt")"
frame=$(runner_frame "$work/screen.png" "$cartridge" 3)
echo "grabbed screen is the runner's frame $frame"

# The built-in skin: its background round the screen, its glyphs on the buttons.
"$helper" skin "$work" 2>/dev/null || fail "no built-in skin to compare with"
same_region() { # same_region PICTURE X Y W H [WINDOW-X WINDOW-Y]
  convert "$1" -crop "$4x$5+$2+$3" +repage "$work/want.png"
  convert "$work/window.png" -crop "$4x$5+${6:-$2}+${7:-$3}" +repage "$work/got.png"
  [ "$(compare -metric AE "$work/want.png" "$work/got.png" null: 2>&1)" = 0 ]
}
same_region "$work/background.png" 0 272 28 38 || fail "the skin's background is not under the slots' left"
same_region "$work/background.png" 306 130 94 140 || fail "the skin's background is not on the right panel"
same_region "$work/open.png" 0 0 33 33 12 31 || fail "the Open button does not show its glyph"
same_region "$work/slot1.png" 0 0 30 30 28 275 || fail "slot 1 does not show its glyph"
echo "the window wears the built-in skin"

xdotool key Escape
wait "$pid" || fail "pixtor exited with $?"
pid=
settings=$XDG_CONFIG_HOME/Brovane/Pixtor.conf
[ -f "$settings" ] || fail "no settings file at exit"
for value in FrameRate=3 SoundVolume=255 SoundChannel1=1 WIN=0 UP=38 START=13 SELECT=9 UP=69 A=16 ENABLED=0; do
  grep -q "^$value\$" "$settings" || fail "settings file lacks $value"
done
echo "settings file written with its defaults"

# The window's music holds the runner's events for the same input, up to where the window closed.
"$helper" midi "$work/window.mid" >"$work/window.events" || fail "the window wrote no MIDI file"
end=$(awk '/^end/ { print $2 }' "$work/window.events")
"$runner" --frames $((end * 61 / 1000 + 60)) --input "$work/input.txt" --midi "$work/runner.mid" "$cartridge" >/dev/null
grep -v '^end' "$work/window.events" >"$work/window.notes"
"$helper" midi "$work/runner.mid" | head -n "$(wc -l <"$work/window.notes")" >"$work/runner.notes"
[ -s "$work/window.notes" ] || fail "the window's MIDI file holds no notes"
cmp -s "$work/window.notes" "$work/runner.notes" ||
  fail "the window's MIDI events are not the runner's: $(diff "$work/window.notes" "$work/runner.notes" | head -5)"
echo "the window's music is the runner's, $(wc -l <"$work/window.notes") events"

# Rewind and save states, as a player uses them. Holding F8 for a second
# shows a picture the runner shows some 60 frames before the one on screen.
# Keys held here are held, as a player holds them: no repeats.
xset r off
start_pixtor "$cartridge"
hold Return 0.3
sleep 1
hold Right 1.5
sleep 0.5
grab_screen "$work/screen.png"
cp "$work/input.txt" "$work/played.txt"
xdotool keydown F8
sleep 1
grab_screen "$work/rewound.png"
xdotool keyup F8
frame=$(runner_frame "$work/screen.png" "$cartridge" 3 "$work/played.txt")
rewound=
for ((back = 1; back <= 150 && !rewound; ++back)); do
  "$runner" --frames $((frame - back)) --frame-rate 3 --input "$work/played.txt" --snapshot "$work/frame.bmp" "$cartridge" >/dev/null
  [ "$(compare -metric AE "$work/rewound.png" "$work/frame.bmp" null: 2>&1)" = 0 ] && rewound=$back
done
[ -n "$rewound" ] && ((rewound >= 20 && rewound <= 100)) ||
  fail "holding F8 for a second went back ${rewound:-more than 150} frames from frame $frame"
echo "holding F8 for a second went back $rewound frames"
# Paused, F5 saves; after more play, F7 brings the saved picture back.
pause_button() { xdotool mousemove --window "$window" 28 146 click 1; sleep 0.3; }
run_button() { xdotool mousemove --window "$window" 28 80 click 1; sleep 0.3; }
pause_button
xdotool key F5
sleep 0.3
grab_screen "$work/saved.png"
run_button
hold Left 1
pause_button
xdotool key F7
sleep 0.3
grab_screen "$work/loaded.png"
[ "$(compare -metric AE "$work/saved.png" "$work/loaded.png" null: 2>&1)" = 0 ] || fail "F7 does not show the picture F5 saved"
compare -metric AE "$work/saved.png" "$work/rewound.png" null: >/dev/null 2>&1 && fail "the game did not move on after the rewind"
ls "$work"/data/Brovane/Pixtor/states/"$(basename "$cartridge")"-*.0.state >/dev/null || fail "no state file in the states folder"
echo "F7 brings back the picture F5 saved"
xdotool key Escape
wait "$pid" || fail "pixtor exited with $?"
pid=

# The settings dialog: frame skip 1, and Start of pad 1 on Backspace (the first key of the list).
eval "$("$helper" layout 2>/dev/null)"
start_pixtor "$cartridge"
xdotool mousemove --window "$window" 353 44 click 1
dialog=$(find_window '^Setting \.\.\.$')
[ "$(caption "$dialog")" = "Setting ..." ] || fail "the settings dialog's caption is \"$(caption "$dialog")\""
eval "$(xdotool getwindowgeometry --shell "$dialog")"
at() { set -- $1; xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; }
at "$frame_skip"; xdotool key ctrl+a type 1
at "$joypad1_tab"
at "$pad1_start"; xdotool key Home Return
sleep 0.3
at "$ok"
# With no window manager on the virtual server, nobody gives the focus back.
xdotool windowfocus --sync "$window"
sleep 0.5
hold Return 0.3
sleep 0.5
grep -q ' Start' "$work/input.txt" && fail "Return still starts the game: $(cat "$work/input.txt")"
hold BackSpace 0.3
sleep 1
grep -q ' Start' "$work/input.txt" || fail "Backspace does not start the game: $(cat "$work/input.txt")"
grab_screen "$work/screen.png"
frame=$(runner_frame "$work/screen.png" "$cartridge" 1)
echo "with the new key and every frame drawn, the screen is the runner's frame $frame"

xdotool key Escape
wait "$pid" || fail "pixtor exited with $?"
pid=
grep -q '^FrameRate=1$' "$settings" || fail "frame skip not saved: $(grep FrameRate "$settings")"
sed -n '/^\[JOY1\]/,/^\[/p' "$settings" | grep -q '^START=8$' || fail "pad 1's Start not saved"
echo "the settings file holds the new frame skip and key"

# A cartridge dropped on a window that has none runs as Open would run it.
start_pixtor
grab_screen "$work/idle.png"
"$helper" drag "$other" 2>/dev/null &
dragger=$!
find_window '^Pixtor drag source$' >/dev/null
xdotool mousemove 650 450 mousedown 1
for step in 1 2 3 4 5 6 7 8; do xdotool mousemove --window "$window" $((25 * step)) $((18 * step)); sleep 0.1; done
xdotool mouseup 1
sleep 2
grep -q "# $(basename "$other")" "$work/input.txt" || fail "the dropped cartridge did not start"
for _ in $(seq 20); do
  grab_screen "$work/screen.png"
  [ "$(compare -metric AE "$work/idle.png" "$work/screen.png" null: 2>&1)" != 0 ] && break
  sleep 0.5
done
frame=$(runner_frame "$work/screen.png" "$other" 1)
echo "the dropped cartridge shows the runner's frame $frame"

xdotool windowfocus --sync "$window" key Escape
wait "$pid" || fail "pixtor exited with $?"
pid=
