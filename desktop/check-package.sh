#!/usr/bin/env bash
# Makes the Debian package of a build and checks it as Debian would: lintian
# finds no error or warning, appstreamcli accepts the metainfo, the package
# carries the version the programs print and holds what a user needs.
# Exits 77 (skipped) when a packaging or checking tool is missing.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/checks.sh"
require_tools cpack dpkg-shlibdeps lintian appstreamcli

work=$(mktemp -d)
# CPack's staging install and cmake --install rewrite the build's install manifest.
keep_manifest "$build" "$work"

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
version=$("$build/pixtor-headless" --version | cut -d' ' -f2)
deb="$work/pixtor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "no package for version $version: $(ls "$work")"; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in usr/bin/pixtor usr/bin/pixtor-headless usr/lib/pixtor/SKINS.DLL usr/share/applications/pixtor.desktop \
  usr/share/mime/packages/pixtor.xml usr/share/icons/hicolor/256x256/apps/pixtor.png \
  usr/share/man/man6/pixtor.6.gz \
  usr/share/man/man6/pixtor-headless.6.gz usr/share/doc/pixtor/copyright usr/share/doc/pixtor/changelog.gz; do
  grep -qx "./$file" <<<"$contents" || { echo "not in the package: /$file"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for needed in 'libfluidsynth3' 'timgm6mb-soundfont | sf2-soundfont-gm' 'libqt6widgets6' 'libsdl2-2.0-0'; do
  grep -qF "$needed" <<<"$depends" || { echo "the package does not depend on $needed: $depends"; exit 1; }
done
# Caches are the system's to build; no maintainer scripts, so a removed package leaves no trace.
if grep -Eq '^\./usr/share/(mime/[^p]|applications/mimeinfo)' <<<"$contents"; then
  echo "the package carries a desktop cache"; exit 1
fi
dpkg-deb -e "$deb" "$work/control"
[ -z "$(ls "$work/control" | grep -v -x -e control -e md5sums)" ] || { echo "maintainer scripts: $(ls "$work/control")"; exit 1; }

# The skin library is loaded by its path and needs no library of its own,
# which lintian would like every shared library to name.
lintian --fail-on error,warning --suppress-tags shared-library-lacks-prerequisites "$deb"
dpkg-deb -x "$deb" "$work/root"
metainfo=("$work"/root/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || { echo "the package has no AppStream metainfo"; exit 1; }
appstreamcli validate --no-net "${metainfo[@]}"
echo "$(basename "$deb"): lintian and appstreamcli find nothing to mend"
