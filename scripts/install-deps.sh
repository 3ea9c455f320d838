#!/usr/bin/env bash
# Installs everything the project builds and tests with, from Debian's packages.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"

packages=(
  build-essential cmake ninja-build pkgconf ccache
  clang libclang-rt-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  juce-modules-source-data
  libfreetype-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libpolyclipping-dev
  libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri libopengl0
  binutils
  locales
)

install_missing_packages "${packages[@]}"

# One locale with a decimal comma, so the tests can show that the layout reader
# reads numbers the same whatever the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
