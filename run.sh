#!/usr/bin/env bash
# Installs what is missing, builds, and runs a cartridge in the headless runner.
# With no cartridge named, runs the bundled demo cartridge into its attract
# mode and writes a snapshot of what it shows.
# Usage: ./run.sh [CARTRIDGE.NES [runner options]]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pixtor_install
pixtor_build build
if [ $# -eq 0 ]; then
  # 15 seconds of console time: the title waits 10, then the recorded demo plays.
  build/pixtor-headless --frames 900 --snapshot build/demo.bmp build/roms/demo.nes
  echo "The demo cartridge is build/roms/demo.nes; its picture after 15 s is build/demo.bmp."
  exit 0
fi
exec build/pixtor-headless "$@"
