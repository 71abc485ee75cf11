#!/usr/bin/env bash
# Builds the Debian package corvane_<version>_amd64.deb in the repository root
# with CPack from the usual build folder: the program stripped, installed under
# /usr with its desktop entry, icons, AppStream data, manual page, copyright
# and changelog, its dependencies found by dpkg-shlibdeps.
#   scripts/package.sh && sudo apt install ./corvane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh dpkg-dev file
# The package holds only the program, so only the program is built for it.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build build --target corvane
rm -rf build/package
(cd build && cpack -G DEB -B package)
rm -f corvane_*.deb
cp build/package/corvane_*.deb .
ls corvane_*.deb
