#!/usr/bin/env bash
# Installs what the Windows x86-64 cross-build needs: MinGW-w64 (posix threads,
# which JUCE needs), Wine to run the tests, and static Windows builds of the
# libraries Debian ships only for Linux (libpng, libjpeg-turbo, ClipperLib),
# made from Debian's own source packages.
#
# Usage: install-windows-deps.sh [PREFIX]   (default: build/windows-deps)
# Safe to run again: each library is skipped once its pkg-config file exists.
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"
cd "$(dirname "$0")/.."
root=$(pwd)

prefix=$(realpath -m "${1:-build/windows-deps}")
work="$prefix/src"
host=x86_64-w64-mingw32
jobs=$(nproc)


packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine64 wine xvfb xauth libgl1-mesa-dri libglx-mesa0
  cmake ninja-build pkgconf python3
  juce-modules-source-data googletest
)
install_missing_packages "${packages[@]}"

mkdir -p "$prefix/lib/pkgconfig" "$prefix/include" "$work"

# --- Debian source packages, through a private apt configuration ---------------
# The deb-src lines are derived from the machine's own deb entries, so whatever
# archive this machine uses is the one the sources come from.
apt_dir="$prefix/apt"
apt_opts=()
setup_source_apt() {
  [ "${#apt_opts[@]}" -gt 0 ] && return 0
  mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  rm -f "$apt_dir"/parts/*
  : > "$apt_dir/sources.list"
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >> "$apt_dir/sources.list"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822 stanzas: keep the binary ones and turn them into source ones.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*deb([ \t\n]|$)/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' \
      "$f" > "$apt_dir/parts/$(basename "$f")"
  done
  apt_opts=(-o Dir::Etc::SourceList="$apt_dir/sources.list"
            -o Dir::Etc::SourceParts="$apt_dir/parts"
            -o Dir::State::Lists="$apt_dir/lists"
            -o Dir::Cache="$apt_dir/cache"
            -o APT::Get::Only-Source=true)
  $SUDO apt-get "${apt_opts[@]}" update -qq
}

# Unpacks Debian source package $1 into $work and prints the directory. When the
# newest version's files are not served, tries the other versions the index
# lists, newest first.
fetch_source() {
  local src=$1 existing version
  existing=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name "$src-[0-9]*" -print -quit)
  if [ -n "$existing" ]; then echo "$existing"; return 0; fi
  setup_source_apt >&2
  for version in "" $(apt-cache "${apt_opts[@]}" showsrc "$src" 2>/dev/null |
                      awk '/^Version:/ { print $2 }' | sort -rVu); do
    if (cd "$work" && apt-get "${apt_opts[@]}" source -qq "$src${version:+=$version}" >&2); then
      existing=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name "$src-[0-9]*" -print -quit)
      [ -n "$existing" ] && { echo "$existing"; return 0; }
    fi
    echo "source of $src${version:+ $version} not available, trying an older one" >&2
  done
  # The archive may serve the upstream tarball but not Debian's packaging part;
  # the upstream source alone builds the library.
  local orig
  orig=$(ls -1 "$work/${src}_"*.orig.tar.* 2>/dev/null | sort -rV | head -n1)
  if [ -n "$orig" ]; then
    version=$(basename "$orig"); version=${version#${src}_}; version=${version%.orig.tar.*}
    echo "building $src $version from its upstream tarball" >&2
    mkdir -p "$work/$src-$version"
    tar -xf "$orig" -C "$work/$src-$version" --strip-components=1
    echo "$work/$src-$version"
    return 0
  fi
  echo "cannot fetch the source package $src" >&2
  return 1
}

# The upstream version of an unpacked source directory ("libpng1.6-1.6.39" -> 1.6.39).
source_version() { basename "$1" | sed 's/^.*-\([0-9][^-]*\)$/\1/'; }

write_pc() { # name version libs [cflags]
  cat > "$prefix/lib/pkgconfig/$1.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $1
Description: $1 (static, $host)
Version: $2
Libs: -L\${libdir} $3
Cflags: -I\${includedir} ${4:-}
EOF
}

toolchain="$root/cmake/toolchain-mingw64.cmake"
cross_cmake() { # source-dir build-dir args...
  local src=$1 bld=$2; shift 2
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" >/dev/null
  cmake --build "$bld" -j"$jobs" >/dev/null
  cmake --install "$bld" >/dev/null
}

# --- libjpeg-turbo ---------------------------------------------------------------
if [ ! -f "$prefix/lib/pkgconfig/libjpeg.pc" ]; then
  echo "== libjpeg-turbo"
  dir=$(fetch_source libjpeg-turbo)
  cross_cmake "$dir" "$work/build-jpeg" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JPEG8=OFF
  # JUCE reads the decoder's internal header, which the install leaves out.
  cp "$dir/jpegint.h" "$prefix/include/"
  # windows.h defines its own `boolean`, and jconfig.h then skips its typedef;
  # JUCE wraps the library in a namespace and expects the type inside it. Make
  # the typedef unconditional, with the same type windows.h uses.
  sed -i 's|^#ifndef __RPCNDR_H__.*|#if 1 /* boolean always defined here */|' "$prefix/include/jconfig.h"
  write_pc libjpeg "$(source_version "$dir")" "-ljpeg"
fi

# --- libpng ------------------------------------------------------------------------
if [ ! -f "$prefix/lib/pkgconfig/libpng.pc" ]; then
  echo "== libpng"
  dir=$(fetch_source libpng1.6)
  cross_cmake "$dir" "$work/build-png" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
  lib=$(cd "$prefix/lib" && ls libpng16*.a libpng*.a 2>/dev/null | head -n1)
  [ -n "$lib" ] || { echo "libpng did not install a static library" >&2; exit 1; }
  [ -f "$prefix/lib/libpng16.a" ] || cp "$prefix/lib/$lib" "$prefix/lib/libpng16.a"
  write_pc libpng "$(source_version "$dir")" \
    "-lpng16 -lz" "-I\${includedir}/libpng16"
fi

# --- ClipperLib ----------------------------------------------------------------------
if [ ! -f "$prefix/lib/pkgconfig/polyclipping.pc" ]; then
  echo "== polyclipping"
  dir=$(fetch_source libpolyclipping)
  cpp=$(find "$dir" -name clipper.cpp -path '*cpp*' | head -n1)
  hpp=$(dirname "$cpp")/clipper.hpp
  mkdir -p "$work/build-clipper"
  $host-g++-posix -O2 -std=c++17 -c "$cpp" -o "$work/build-clipper/clipper.o"
  rm -f "$prefix/lib/libpolyclipping.a"
  $host-ar rcs "$prefix/lib/libpolyclipping.a" "$work/build-clipper/clipper.o"
  cp "$hpp" "$prefix/include/"
  write_pc polyclipping "$(source_version "$dir")" "-lpolyclipping"
fi

echo "Windows dependencies ready in $prefix"
