#!/usr/bin/env bash
# Installs what is missing, builds, and runs a cartridge in the headless runner.
# Usage: ./run.sh CARTRIDGE.NES [runner options]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pixtor_install
pixtor_build build
if [ $# -eq 0 ]; then
  echo "usage: ./run.sh CARTRIDGE.NES [runner options]" >&2
  exit 2
fi
exec build/pixtor-headless "$@"
