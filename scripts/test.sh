#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the full build with ctest, then the core tests
# again under AddressSanitizer + UndefinedBehaviorSanitizer and under ThreadSanitizer, then the fuzz targets
# for a short fixed number of runs.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
bash scripts/setup.sh

JOBS=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

step() { printf '\n=== %s ===\n' "$*"; }

step "Build (Release: client, tests, benchmarks, tools)"
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/ci -j "$JOBS"

step "All tests"
(cd build/ci && ctest -j "$JOBS" --timeout 300)

step "Core tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQARNIS_WITH_UI=OFF -DQARNIS_BENCH=OFF \
  -DQARNIS_SANITIZE=address,undefined
cmake --build build/asan -j "$JOBS"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest -j "$JOBS" --timeout 300)

step "Core tests under ThreadSanitizer"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQARNIS_WITH_UI=OFF -DQARNIS_BENCH=OFF \
  -DQARNIS_SANITIZE=thread
cmake --build build/tsan -j "$JOBS"
(cd build/tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$ROOT/tests/tsan.supp" ctest -j "$JOBS" --timeout 300)

step "Fuzz targets (libFuzzer, fixed number of runs)"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DQARNIS_WITH_UI=OFF \
  -DQARNIS_BENCH=OFF -DQARNIS_FUZZ=ON
cmake --build build/fuzz -j "$JOBS"
(cd build/fuzz && ctest -L fuzz --timeout 300)

step "Done"
