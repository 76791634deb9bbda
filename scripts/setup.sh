#!/usr/bin/env bash
# Installs the Debian packages Pixtor needs that are missing, then builds it
# into build/ (Release). Sourced by run.sh and test.sh.
set -euo pipefail

PIXTOR_PACKAGES=(build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev cc65 pkg-config libsdl2-dev libfluidsynth-dev timgm6mb-soundfont qt6-base-dev libqt6opengl6-dev libxrandr-dev libxtst-dev xvfb xauth)
# Save states: CRC-32 from zlib; the rewind ring compresses its differences with LZ4, the fastest
# at the small, sparse differences one frame leaves, so that a state a frame stays cheap.
PIXTOR_PACKAGES+=(zlib1g-dev liblz4-dev)
# Fuzzing: clang with its sanitizer and libFuzzer runtimes.
PIXTOR_PACKAGES+=(clang libclang-rt-14-dev)
# The naming check (scripts/naming.sh).
PIXTOR_PACKAGES+=(clang-tidy)

# Checking the desktop install: the menu entry, the file-type and menu caches.
PIXTOR_PACKAGES+=(desktop-file-utils shared-mime-info xdg-utils)
# The Debian package: its library dependencies (dpkg-shlibdeps), and its checks.
PIXTOR_PACKAGES+=(dpkg-dev lintian appstream)
# The window on a virtual X server: software OpenGL, keys and clicks, grabs and picture comparison.
PIXTOR_PACKAGES+=(libgl1-mesa-dri xdotool x11-apps x11-utils x11-xserver-utils imagemagick)
# The window under Wayland: a headless compositor and Qt's Wayland platform.
PIXTOR_PACKAGES+=(weston qt6-wayland)

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
