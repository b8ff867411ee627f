#!/usr/bin/env bash
# Installs what is missing, builds under AddressSanitizer/UBSan and runs every test, then builds
# under ThreadSanitizer and runs the tests labelled "threads".
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
./scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEMO_SANITIZE=address -DVEMO_BUILD_BENCH=OFF
cmake --build build/asan -j "$jobs"
G_SLICE=always-malloc ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEMO_SANITIZE=thread -DVEMO_BUILD_BENCH=OFF
cmake --build build/tsan -j "$jobs" --target thread_tests
G_SLICE=always-malloc TSAN_OPTIONS="halt_on_error=1 suppressions=$top/tests/tsan.supp" ctest --test-dir build/tsan --output-on-failure -j "$jobs" -L threads
