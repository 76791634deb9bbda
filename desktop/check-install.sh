#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what the desktop sees
# there: the files, the menu entry, the file type of iNES images and the
# program that opens them. Exits 77 (skipped) when a checking tool is missing.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/checks.sh"
require_tools desktop-file-validate update-mime-database update-desktop-database xdg-mime

prefix=$(mktemp -d)
# CPack's staging install and cmake --install rewrite the build's install manifest.
keep_manifest "$build" "$prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/pixtor bin/pixtor-headless lib/pixtor/SKINS.DLL share/applications/pixtor.desktop
  share/mime/packages/pixtor.xml share/man/man6/pixtor.6.gz share/man/man6/pixtor-headless.6.gz)
for size in 16 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/pixtor.png")
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
for size in 16 32 48 64 128 256; do
  header=$(head -c 24 "$prefix/share/icons/hicolor/${size}x${size}/apps/pixtor.png" | od -An -tx1 | tr -d ' \n')
  # PNG signature, IHDR, then width and height as 32-bit big-endian numbers.
  printf -v dims '%08x%08x' "$size" "$size"
  [ "${header:0:16}" = 89504e470d0a1a0a ] && [ "${header:32:16}" = "$dims" ] ||
    { echo "icon ${size}x${size} is not a ${size} x ${size} PNG"; exit 1; }
done

desktop-file-validate "$prefix/share/applications/pixtor.desktop"

# The caches the install built: the type is known by its name and its first
# bytes, and the menu entry is the program for it.
[ -f "$prefix/share/mime/application/x-nes-rom.xml" ] || { echo "the MIME database has no application/x-nes-rom"; exit 1; }
grep -q '^\(.*:\)\?application/x-nes-rom:\*\.nes' "$prefix/share/mime/globs2" ||
  { echo "the MIME database does not know *.nes"; exit 1; }
grep -aq 'application/x-nes-rom' "$prefix/share/mime/magic" || { echo "the MIME database has no magic for iNES"; exit 1; }
export XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share" XDG_CONFIG_HOME="$prefix/config" \
  XDG_CONFIG_DIRS="$prefix/config" XDG_CURRENT_DESKTOP=X-Generic
opener=$(xdg-mime query default application/x-nes-rom)
[ "$opener" = pixtor.desktop ] || { echo "iNES images open with '$opener', not pixtor.desktop"; exit 1; }

# Recognised by content whatever the name, where GIO can tell.
if command -v gio >/dev/null; then
  printf 'NES\032\001\000\000\000\000\000\000\000\000\000\000\000' >"$prefix/cartridge.bin"
  type=$(gio info -a standard::content-type "$prefix/cartridge.bin" | sed -n 's/.*standard::content-type: //p')
  [ "$type" = application/x-nes-rom ] || { echo "an iNES image by its content is '$type'"; exit 1; }
fi
echo "installed and registered in $prefix"
