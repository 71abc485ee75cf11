#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time:
#   fuzz/run.sh [seconds per target, default 30] [target ...]
# Each run starts from the committed seeds in fuzz/corpus/<target>/ plus what
# earlier runs in the same build folder found; the seeds are never changed.
# After fuzzing, a scaling pass reads corpus inputs again repeated to about
# 128 KB (CORVANE_FUZZ_REPEAT), where a cost that grows faster than the input
# turns into a timeout; it takes at most FUZZ_SCALE_INPUTS of them (default
# 300, picked at random). Exits non-zero when any target crashes,
# hangs (10 s for one input) or runs out of memory; the input that did it is
# kept in <build>/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_recordfile fuzz_favrecord fuzz_sessionfile)
build=${FUZZ_BUILD_DIR:-build-fuzz}
scale_inputs=${FUZZ_SCALE_INPUTS:-300}

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/$target.log"
  mkdir -p "$work" "$findings"
  echo "== $target: fuzzing for $seconds s"
  if "$build/$target" "$work" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1; then
    # "#N DONE cov: C ft: F corp: K/S ..." and "Done N runs in T second(s)"
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
    grep -E '^Done [0-9]+ runs' "$log" | tail -n 1 || true
  else
    status=1
    echo "== $target FAILED; the input is in $findings/ and the log in $log" >&2
    tail -n 60 "$log" >&2
    continue
  fi
  inputs=$(find "$work" "fuzz/corpus/$target" -type f | wc -l)
  [ "$inputs" -gt "$scale_inputs" ] && inputs=$scale_inputs
  echo "== $target: scaling pass over $inputs inputs"
  started=$(date +%s)
  if find "$work" "fuzz/corpus/$target" -type f | shuf -n "$inputs" | tr '\n' '\0' |
      CORVANE_FUZZ_REPEAT=1 xargs -0 -n 100 "$build/$target" -timeout=5 -rss_limit_mb=4096 \
        -artifact_prefix="$findings/scaled-" >"$log.scaled" 2>&1; then
    echo "   done in $(( $(date +%s) - started )) s"
  else
    status=1
    echo "== $target FAILED the scaling pass; see $log.scaled" >&2
    tail -n 60 "$log.scaled" >&2
  fi
done
exit $status
