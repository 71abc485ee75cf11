#!/usr/bin/env bash
# Builds Corvane and runs the whole test suite (installing what is missing).
#   scripts/test.sh [--full]
# With --full, or when CI=true, it then also builds the library and the tests
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and runs
# every test there, runs each fuzz target for 30 s (fuzz/run.sh), and builds
# and checks the Debian package (scripts/check-package.sh).
# As root every test stage runs in a network namespace of its own that holds
# only loopback, so no test can reach anything beyond this machine.
# Exits non-zero when any build or stage fails; every stage runs regardless.
set -euo pipefail
cd "$(dirname "$0")/.."

full=false
[ "${CI:-}" = "true" ] && full=true
for arg in "$@"; do
  case "$arg" in
    --full) full=true ;;
    *) echo "usage: scripts/test.sh [--full]" >&2; exit 2 ;;
  esac
done

# Packages first: the namespace has no way out to the package mirrors.
extra=()
$full && extra=(clang libclang-rt-14-dev dpkg-dev file lintian desktop-file-utils appstream)
scripts/setup-deps.sh "${extra[@]}"

isolated() {
  if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
    unshare -n -- sh -c 'ip link set lo up && exec "$@"' sh "$@"
  else
    "$@"
  fi
}
[ "$(id -u)" -eq 0 ] || echo "Not root: running tests without a private network namespace" >&2

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

status=0
results=()
stage() { # name, command...
  local name=$1
  shift
  echo "== $name"
  if "$@"; then
    results+=("$name: passed")
  else
    results+=("$name: FAILED")
    status=1
  fi
}

stage "tests" isolated ctest --test-dir build --output-on-failure -j2

if $full; then
  # The sanitizers stop a test at the first report. QtWebEngine's own code
  # frees some objects through a base of another size and keeps process-wide
  # objects until exit; those two reports are left out for the tests that
  # start the engine, and only for them (scripts/lsan.supp).
  ubsan=UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  engine_asan=ASAN_OPTIONS=new_delete_type_mismatch=0
  engine_lsan=LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
  if cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=ON &&
    cmake --build build-asan; then
    stage "sanitizer tests without the engine" isolated env "$ubsan" \
      ctest --test-dir build-asan --output-on-failure -j2 -LE engine
    stage "sanitizer tests with the engine" isolated env "$ubsan" "$engine_asan" "$engine_lsan" \
      ctest --test-dir build-asan --output-on-failure -j2 -L engine
  else
    results+=("sanitizer build: FAILED")
    status=1
  fi
  stage "fuzzing" isolated fuzz/run.sh 30
  stage "Debian package" scripts/check-package.sh
fi

echo "== Summary"
printf '   %s\n' "${results[@]}"
exit $status
