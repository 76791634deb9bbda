#!/usr/bin/env bash
# Installs what is missing, builds, and plays a cartridge in the window: the
# bundled demo, or the cartridge named. Without a display it runs the
# cartridge in the headless runner and writes a snapshot of what it shows.
# Usage: ./run.sh [CARTRIDGE.NES]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pixtor_install
pixtor_build build
cartridge=${1:-build/roms/demo.nes}
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/pixtor "$cartridge"
fi
snapshot=build/$(basename "${cartridge%.*}").bmp
echo "No display here (DISPLAY and WAYLAND_DISPLAY are empty): running $cartridge without a window."
# 15 seconds of console time: the demo's title waits 10, then its recorded demo plays.
build/pixtor-headless --frames 900 --snapshot "$snapshot" "$cartridge"
echo "Its picture after 15 s is $snapshot."
