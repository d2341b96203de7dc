#!/usr/bin/env bash
# From a fresh Debian 12 machine: installs what is needed, checks layering, formatting and
# clang-tidy findings, builds, runs every test, runs the suite again under the address and
# undefined-behaviour sanitizers, builds and checks the Debian package, and runs each fuzzer.
# Prints each stage's time at the end, also when a stage fails.
set -euo pipefail
cd "$(dirname "$0")/.."
# 20 s a fuzzer here; scripts/run-fuzzers.sh alone runs 60.
FUZZ_SECONDS="${FUZZ_SECONDS:-20}"

stage_times=()
run_start=$SECONDS
report_times() {
  echo "stage times:"
  for line in "${stage_times[@]}"; do echo "  $line"; done
  echo "  total $((SECONDS - run_start)) s"
}
trap report_times EXIT

# Runs one named stage and keeps its time.
stage() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  stage_times+=("$(printf '%-14s %5d s' "$name" $((SECONDS - start)))")
}

stage install scripts/install-deps.sh

# The house rules that a compiler does not check: layering, formatting, clang-tidy on the core.
stage layering scripts/check-layering.sh
stage format scripts/check-format.sh

# Line tables are all the failures and sanitizer reports need, and compile a fifth faster than
# full debug information.
LINE_TABLES=-DCMAKE_CXX_FLAGS_DEBUG=-g1

stage build-dev scripts/build.sh dev "$LINE_TABLES"

# clang-tidy works beside the tests, which mostly wait on sockets and timers: half of its files
# beside each suite. Its time after a suite is the wait for it.
tidy_beside() {
  scripts/check-tidy.sh build/dev "$1" >"build/dev/tidy-${1%/*}.log" 2>&1 &
  tidy=$!
}
tidy_wait() {
  local name="$1" log="$2" start=$SECONDS
  if ! wait "$tidy"; then
    cat "$log"
    exit 1
  fi
  cat "$log"
  stage_times+=("$(printf '%-14s %5d s' "$name" $((SECONDS - start)))")
}

tidy_beside 1/2
stage test-dev ctest --preset dev -j 2
tidy_wait tidy-after-1 build/dev/tidy-1.log

stage build-asan scripts/build.sh asan "$LINE_TABLES"
tidy_beside 2/2
stage test-asan ctest --preset asan -j 2
tidy_wait tidy-after-2 build/dev/tidy-2.log

# The Debian package, made from the build already tested: its files, lintian, manual pages,
# menu entry. scripts/check-package.sh alone builds it from the release settings.
stage package scripts/check-package.sh build/dev

stage build-fuzz scripts/build.sh fuzz
stage fuzz scripts/run-fuzzers.sh "$FUZZ_SECONDS"
