#!/usr/bin/env bash
# Installs the Debian packages Pixtor needs that are missing, then builds it
# into build/ (Release). Sourced by run.sh and test.sh.
set -euo pipefail

PIXTOR_PACKAGES=(build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev cc65 pkg-config libsdl2-dev libfluidsynth-dev timgm6mb-soundfont clang libclang-rt-14-dev)

pixtor_install() {
  local missing=() package
  for package in "${PIXTOR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# pixtor_build DIR [cmake options...]; PIXTOR_TARGET names one target to build instead of all.
pixtor_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir" -j"$(nproc)" ${PIXTOR_TARGET:+--target "$PIXTOR_TARGET"}
}
