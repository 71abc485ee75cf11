#!/usr/bin/env bash
# Builds Corvane (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target corvane corvane-browser
extra=""
[ "$(id -u)" -eq 0 ] && extra="--no-sandbox"
QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} $extra" exec build/corvane "$@"
