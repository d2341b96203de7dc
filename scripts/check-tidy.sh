#!/usr/bin/env bash
# Runs clang-tidy with the committed .clang-tidy over the core's sources, using the compile
# commands of a configured build (build/dev unless given); any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
[ -f "$build/compile_commands.json" ] || { echo "tidy: no $build/compile_commands.json" >&2; exit 1; }
git ls-files -z -- src/common src/link src/config src/net src/fonts src/ops src/doctor |
  grep -zE '\.cpp$' |
  xargs -0 -n 4 -P 2 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null
echo "tidy: ok"
