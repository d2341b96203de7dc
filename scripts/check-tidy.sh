#!/usr/bin/env bash
# Runs clang-tidy with the committed .clang-tidy over the core's sources, using the compile
# commands of a configured build (build/dev unless given); any finding fails.
# scripts/check-tidy.sh [BUILD_DIR] [PART/PARTS]: PART/PARTS checks every PARTS-th file from the
# PART-th on (1/2 and 2/2 together check them all), so the work can be split.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
part="${2:-1/1}"
index="${part%/*}"
parts="${part#*/}"
[ -f "$build/compile_commands.json" ] || { echo "tidy: no $build/compile_commands.json" >&2; exit 1; }
# Every PARTS-th of the core's sources from the PART-th on.
share() {
  local n=0 file
  while IFS= read -r -d '' file; do
    n=$((n + 1))
    if (((n - index) % parts == 0)); then printf '%s\0' "$file"; fi
  done
}
git ls-files -z -- src/common src/link src/config src/net src/fonts src/ops src/doctor |
  grep -zE '\.cpp$' |
  share |
  xargs -0 -n 4 -P 2 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null
echo "tidy: ok ($part)"
