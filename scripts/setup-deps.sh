#!/usr/bin/env bash
# Installs the Debian 12 packages Corvane needs to build, run and test,
# skipping those already present. Runs apt-get update at most once.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-webengine-dev libqt6sql6-sqlite iproute2 util-linux poppler-utils dbus "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
