#!/usr/bin/env bash
# Builds the Debian package and checks it: the files it must hold, lintian, the manual pages and
# the menu entry. Without an argument, or given a build folder not yet configured, the package
# comes from the release settings (without tests and benchmarks, so it stays quick); given a
# configured build folder, from that build as it is. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/package}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset release -B "$build" -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target package >/dev/null
deb="$(ls -t "$build"/vantrel_*.deb | head -n 1)"

fail() { echo "check-package: $*" >&2; exit 1; }

listed="$(dpkg-deb --contents "$deb" | awk '{ print $6 }')"
for path in \
    ./usr/bin/vantrel ./usr/bin/vantrel-cli ./usr/bin/vantrel-printer-sim \
    ./usr/lib/udev/rules.d/60-vantrel-printers.rules \
    ./usr/share/applications/vantrel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/vantrel.svg \
    ./usr/share/man/man1/vantrel.1.gz ./usr/share/man/man1/vantrel-cli.1.gz \
    ./usr/share/man/man1/vantrel-printer-sim.1.gz \
    ./usr/share/bash-completion/completions/vantrel-cli \
    ./usr/share/doc/vantrel/copyright ./usr/share/doc/vantrel/changelog.gz; do
  grep -qxF "$path" <<<"$listed" || fail "$path is missing from $deb"
done
dpkg-deb --field "$deb" Depends | grep -q 'libc6' || fail "no shared library dependencies"

lintian --fail-on error "$deb"

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
# The pages as installed, against the programs as installed: their sections, clean formatting,
# no option that the programs lack, every command of vantrel-cli described.
scripts/check-man-pages.sh "$unpacked/usr/share/man/man1" \
  "$unpacked"/usr/bin/{vantrel,vantrel-cli,vantrel-printer-sim} || fail "the manual pages are wrong"
desktop-file-validate "$unpacked/usr/share/applications/vantrel.desktop"
bash -n "$unpacked/usr/share/bash-completion/completions/vantrel-cli"
echo "$deb"
