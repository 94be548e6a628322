#!/usr/bin/env bash
# Builds the engine with its tests and benchmarks and runs every test: once in a normal
# build and once with AddressSanitizer and UndefinedBehaviorSanitizer.
# Pass --no-sanitize to skip the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

sanitize=1
[ "${1:-}" = "--no-sanitize" ] && sanitize=0
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

if [ "$sanitize" = 1 ]; then
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DENGINE_SANITIZE=ON -DENGINE_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build-sanitize -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
fi

# A few seconds of each fuzz target (skipped without clang).
scripts/run-fuzzers.sh 5 build
