#!/usr/bin/env bash
# Builds Corvane and runs the whole test suite (installing what is missing).
# As root the suite runs in a network namespace of its own that holds only
# loopback, so no test can reach anything beyond this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

ctest_cmd=(ctest --test-dir build --output-on-failure -j2)
if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
  exec unshare -n -- sh -c 'ip link set lo up && exec "$@"' sh "${ctest_cmd[@]}"
fi
echo "Not root: running tests without a private network namespace" >&2
exec "${ctest_cmd[@]}"
