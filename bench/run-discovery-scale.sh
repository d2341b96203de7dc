#!/bin/sh
# The discovery scale benchmark inside a private network namespace:
#   bench/run-discovery-scale.sh [BUILD_DIR] [PRINTERS]   (default build/release, 2000)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
exec "$root/scripts/run-in-private-network.sh" "$build/bench/discovery_scale_bench" "${2:-2000}"
