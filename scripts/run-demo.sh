#!/usr/bin/env bash
# Builds the engine and runs the demo game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENGINE_BUILD_TESTS=OFF -DENGINE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build --target RizareZaz -j"$(nproc)"
cd build/bin
exec ./RizareZaz.exe "$@"
