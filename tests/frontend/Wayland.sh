#!/usr/bin/env bash
# The window under a Wayland compositor (weston, headless): it opens, plays
# the cartridge for 5 s at the console's speed, and ends when told to, with
# nothing on standard error but its own figures. Usage: Wayland.sh PIXTOR CARTRIDGE
set -euo pipefail
pixtor=$1 cartridge=$2
command -v weston >/dev/null && [ -n "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland*' -print -quit)" ] || exit 77
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=pixtor-test --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pixtor-test" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/pixtor-test" ] || { echo "skipped: weston did not start: $(tail -n 3 "$work/weston.log")"; exit 77; }
status=0
WAYLAND_DISPLAY=pixtor-test QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy \
  timeout 7 "$pixtor" --stats "$cartridge" 2>"$work/stderr" || status=$?
# Ended by timeout's TERM, not by a fault of its own.
[ "$status" = 124 ] || { cat "$work/stderr"; echo "FAIL: pixtor ended with $status under Wayland"; exit 1; }
grep -q 'frames/s emulated' "$work/stderr" || { cat "$work/stderr"; echo "FAIL: no game ran under Wayland"; exit 1; }
if grep -v 'frames/s emulated\|XDG_RUNTIME_DIR' "$work/stderr" | grep -q .; then
  cat "$work/stderr"; echo "FAIL: pixtor reported errors under Wayland"; exit 1
fi
echo "under Wayland: $(grep 'frames/s emulated' "$work/stderr" | tail -n 1)"
