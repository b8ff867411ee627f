#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on its demo site: the window when a
# display is available, otherwise a headless report (screens rendered to PNG, the home feed).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEMO_BUILD_TESTS=OFF -DVEMO_BUILD_BENCH=OFF
cmake --build build/release -j "$(nproc)"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/app/vemo "$@"
fi
exec build/release/app/vemo demo-report "$@"
