#!/usr/bin/env bash
# Runs each fuzzer of the fuzz build for a bounded time, as many at once as there are cores:
# scripts/run-fuzzers.sh [SECONDS]   (60 by default). Fails when a fuzzer finds a fault.
set -euo pipefail
seconds="${1:-60}"
cd "$(dirname "$0")/.."
corpus_root="build/fuzz/corpus"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

fuzz_one() {
  local fuzzer="$1" seconds="$2" corpus_root="$3" logs="$4"
  local name
  name="$(basename "$fuzzer")"
  mkdir -p "$corpus_root/$name"
  local status=0
  "$fuzzer" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    "$corpus_root/$name" "fuzz/seeds/$name" >"$logs/$name.log" 2>&1 || status=$?
  echo "fuzzed $name for ${seconds}s (exit $status)"
  tail -n 12 "$logs/$name.log"
  return "$status"
}
export -f fuzz_one

ls build/fuzz/fuzz/*_fuzz |
  xargs -P "$(nproc)" -I{} bash -c 'fuzz_one "$@"' _ {} "$seconds" "$corpus_root" "$logs"
