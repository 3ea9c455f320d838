#!/usr/bin/env bash
# Builds the screen-setup fuzzer with clang and runs it for a fixed number of inputs,
# starting from the seed corpus. Usage: run-fuzz-smoke.sh [runs] [build-dir]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
runs="${1:-20000}"
build_dir="${2:-$source_dir/build/fuzz}"

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZM_BUILD_FUZZERS=ON -DZM_BUILD_BENCHMARKS=OFF >/dev/null
ninja -C "$build_dir" zm_screensetup_fuzzer

# Work on a copy so that the corpus in the repository stays small and unchanged.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$here"/corpus/* "$work"/

log="$work/fuzz.log"
if ! "$build_dir/tests/fuzz/zm_screensetup_fuzzer" -runs="$runs" -max_len=65536 -timeout=10 \
      -rss_limit_mb=4096 "$work" >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "fuzzer failed"
  exit 1
fi

executed="$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' | tail -n 1)"
echo "fuzzer executed ${executed:-0} inputs without a fault"
