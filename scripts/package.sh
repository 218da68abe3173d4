#!/usr/bin/env bash
# Builds the Debian package build/vornix_<version>_amd64.deb from the build in build/ (or the
# folder given), building only what is not built yet: the programs, their manual pages (made
# by help2man from their --help) and the changelog. The desktop entry and the AppStream
# metadata are validated first. Dependencies are worked out by dpkg-shlibdeps.
# Usage: scripts/package.sh [build-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}

bash "$root/scripts/setup.sh" help2man desktop-file-utils appstream dpkg-dev
# Configuring again finds help2man when it came after the first configure; nothing rebuilds.
cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --target vornix vornix-cli vornix-thumbnailer manpages changelog

desktop-file-validate "$root/res/vornix.desktop"
appstreamcli validate --no-net --explain "$build"/packaging/*.metainfo.xml

rm -f "$build"/vornix_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/vornix_*.deb)
echo "package.sh: $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --field "$deb" Depends
