#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# runs each for FUZZ_SECONDS (60 by default) from its seed corpus in fuzz/corpus/, and prints the
# executions and crashes per target. Exits 1 when any target crashed or broke an invariant.
# The inputs a run discovers stay in the build folder; the seeds in the repository are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-2}

scripts/install-deps.sh build fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -DVELMARA_GUI=OFF -DVELMARA_TESTS=OFF -DVELMARA_FUZZ=ON -DVELMARA_WORD_DATABASE=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
mkdir -p "$build"
if ! cmake --build "$build" --target fuzz_targets -j "$jobs" >"$build/fuzz-build.log" 2>&1; then
  cat "$build/fuzz-build.log" >&2
  exit 2
fi

# The targets write their files in the temporary folder: in memory, where there is one, so the
# disk's flushes do not set the pace.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

targets=$(cd "$build/bin" && ls fuzz_* | sed 's/^fuzz_//')
failed=0
rows=()
for target in $targets; do
  corpus="$build/fuzz-corpus/$target"
  artifacts="$build/fuzz-artifacts/$target"
  log="$build/fuzz-logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  rm -f "$artifacts"/*
  status=0
  "$build/bin/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  crashes=$(find "$artifacts" -type f | wc -l)
  if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then crashes=1; fi
  rows+=("$(printf '%-18s %12s %8s' "$target" "${executions:-?}" "$crashes")")
  if [ "$crashes" -ne 0 ]; then
    failed=1
    echo "fuzz: $target failed (exit $status); log $log, inputs in $artifacts" >&2
  fi
done

printf '%-18s %12s %8s\n' target executions crashes
printf '%s\n' "${rows[@]}"
exit $failed
