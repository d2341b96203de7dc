#!/usr/bin/env bash
# From a fresh Debian 12 machine: installs what is needed, checks layering, formatting and
# clang-tidy findings, builds, runs every test, runs the suite again under the address and
# undefined-behaviour sanitizers, builds and checks the Debian package, and fuzzes the reply
# readers.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

scripts/install-deps.sh

# The house rules that a compiler does not check: layering, formatting, clang-tidy on the core.
scripts/check-layering.sh
scripts/check-format.sh

scripts/build.sh dev
scripts/check-tidy.sh build/dev
ctest --preset dev -j 2

scripts/build.sh asan
ctest --preset asan -j 2

# The Debian package from the release settings: its files, lintian, manual pages, menu entry.
scripts/check-package.sh

scripts/build.sh fuzz
scripts/run-fuzzers.sh "$FUZZ_SECONDS"
