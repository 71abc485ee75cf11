#!/usr/bin/env bash
# Builds Corvane and its benchmark (installing what is missing) and prints
# the figures: start-up, memory, new tab, GO! and sleeping tabs, each beside
# the bare engine program's. Arguments go to corvane-bench: --runs N, --no-x,
# --verbose, --keep, --only startup,memory,inprocess,sleep,session,handover.
# As root it runs in a network namespace of its own that holds only loopback.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh xvfb xauth
build="${CORVANE_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target corvane corvane-browser corvane-probe bare corvane-bench

bench=("$build/bench/corvane-bench" --corvane "$build/corvane"
       --probe "$build/bench/corvane-probe" --bare "$build/bench/bare" "$@")
if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
  exec unshare -n -- sh -c 'ip link set lo up && exec "$@"' sh "${bench[@]}"
fi
echo "Not root: running without a private network namespace" >&2
exec "${bench[@]}"
