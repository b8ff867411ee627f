#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on its demo site.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEMO_BUILD_TESTS=OFF -DVEMO_BUILD_BENCH=OFF
cmake --build build/release -j "$(nproc)"
exec build/release/app/vemo feed "$@"
