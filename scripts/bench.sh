#!/usr/bin/env bash
# Runs every benchmark of a build briefly and prints its figures.
#   scripts/bench.sh [build-dir]     (default build/release; best in a Release build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
export LIBGL_ALWAYS_SOFTWARE=1
found=0
# Google Benchmark may warn "Library was built as DEBUG": that is Debian's build of the
# benchmark library itself (no NDEBUG); the code measured is built as this build dir says.
grep -h '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" 2>/dev/null || true
for bench in "$build"/tests/benchmarks/zm_*_bench; do
  [ -x "$bench" ] || continue
  found=1
  echo "-- $(basename "$bench")"
  "$bench" --benchmark_min_time=0.05 --benchmark_counters_tabular=true
done
[ "$found" = 1 ] || echo "no benchmarks in $build"
