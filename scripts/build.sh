#!/usr/bin/env bash
# Configures and builds one preset: scripts/build.sh dev|asan|release|fuzz [CMAKE OPTION...]
set -euo pipefail
preset="${1:-dev}"
shift || true
cd "$(dirname "$0")/.."
cmake --preset "$preset" "$@" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
