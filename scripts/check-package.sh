#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it: lintian finds
# no error, the desktop entry and the AppStream data validate, and the
# program unpacked from it into a throwaway folder runs (--version, with no
# display at all).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh dpkg-dev file lintian desktop-file-utils appstream
scripts/package.sh
deb=$(ls corvane_*_amd64.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/corvane" --version
desktop-file-validate "$root/usr/share/applications/corvane.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.corvane.Corvane.metainfo.xml"
echo "lintian $deb:"
lintian --fail-on error "$deb"
echo "package checks passed"
