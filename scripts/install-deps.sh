#!/usr/bin/env bash
# Installs everything the project builds and tests with, from Debian's packages.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"

packages=(
  build-essential cmake ninja-build pkgconf ccache git clang-format
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

# Locales that change what the C library does with text, so the tests can show that the
# layout reader reads the same whatever the locale: de_DE writes numbers with a decimal
# comma, tr_TR upper-cases "i" to a dotted capital.
for name in de_DE tr_TR; do
  if ! locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8\$"; then
    $SUDO localedef -i "$name" -f UTF-8 "$name.UTF-8"
  fi
done
