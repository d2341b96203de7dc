#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the committed .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- src tools tests bench fuzz | grep -zE '\.(h|cpp)$' |
  xargs -0 clang-format --dry-run -Werror
echo "format: ok"
