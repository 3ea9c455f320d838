#!/usr/bin/env bash
# Installs the dependencies, builds everything twice (optimised, and with
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both;
# then runs the distance image tests, whose rebuild uses worker threads, and two
# host threads making their first instances at once, under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export LIBGL_ALWAYS_SOFTWARE=1

echo "== formatting (.clang-format)"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

echo "== optimised build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$jobs"
ctest --test-dir build/release -j"$jobs" --output-on-failure --timeout 300

if [ -x scripts/bench.sh ]; then
  echo "== benchmarks (short runs, figures only)"
  bash scripts/bench.sh build/release
fi

if [ -f tests/fuzz/run-fuzz-smoke.sh ]; then
  echo "== fuzz smoke run"
  bash tests/fuzz/run-fuzz-smoke.sh 20000 build/fuzz
fi

echo "== Windows DLLs (MinGW-w64 cross-build, tests under Wine)"
bash scripts/build-windows.sh build/windows

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZM_SANITIZE=ON -DZM_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/sanitize -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build/sanitize -j"$jobs" --output-on-failure --timeout 600

echo "== ThreadSanitizer build of the distance image tests and the two-thread instantiation"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZM_SANITIZE_THREAD=ON -DZM_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/tsan -j"$jobs" --target zm_distance_image_tests zm_effect_library_tests
# The larger random series and the crowded layouts at 1920 x 1080 add nothing for
# threads but take many minutes at this speed.
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" build/tsan/tests/effect/zm_distance_image_tests \
  --gtest_filter='*:-*SameAsPlainLoop/Wide:*SameAsPlainLoop/Medium*:*SameAsPlainLoop/Size*:Crowded/*'
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" build/tsan/tests/effect/zm_effect_library_tests \
  --gtest_filter='DistanceImageLibraryThreads.*'
