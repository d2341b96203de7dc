#!/usr/bin/env bash
# Runs each fuzzer of the fuzz build for a bounded time: scripts/run-fuzzers.sh SECONDS
set -euo pipefail
seconds="${1:-60}"
cd "$(dirname "$0")/.."
corpus_root="build/fuzz/corpus"
for fuzzer in build/fuzz/fuzz/*_fuzz; do
  name="$(basename "$fuzzer")"
  mkdir -p "$corpus_root/$name"
  echo "fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$corpus_root/$name" \
    "fuzz/seeds/$name" 2>&1 | tail -n 12
done
