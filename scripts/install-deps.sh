#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the programs need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  libcli11-dev nlohmann-json3-dev \
  libusb-1.0-0-dev umockdev libumockdev-dev \
  iproute2 procps time \
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n fonts-wqy-microhei xvfb xauth \
  libfreetype-dev libfontconfig-dev zlib1g-dev fonts-dejavu-core otf2bdf \
  clang-format clang-tidy mold \
  help2man lintian desktop-file-utils dpkg-dev file bash-completion
