#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one from its seed corpus.
# Usage: scripts/run-fuzzers.sh [seconds per target, default 5] [build folder of vtlpack,
#        default build] [target names, default every target the build lists]
# FUZZ_JOBS=n runs n targets at a time (default 1). Every target the fuzz build lists
# runs; beside its source fuzz/<subsystem>/<name>.cpp, <name>.seeds writes its seeds,
# <name>.dict is its dictionary and <name>.options holds extra flags. Each corpus grows in
# build-fuzz/fuzz-corpus/<name>, and findings land in build-fuzz/fuzz-findings.
# Does nothing (successfully) when clang is not installed; fails when any target fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
export ENGINE_TOOL_BUILD=${2:-build}
shift $(( $# > 2 ? 2 : $# ))
jobs=${FUZZ_JOBS:-1}
if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzzers: clang++ not found; skipping the fuzz targets"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DENGINE_BUILD_TESTS=OFF -DENGINE_BUILD_BENCHMARKS=OFF -DENGINE_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz --target all_fuzzers -j"$(nproc)"

targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets <build-fuzz/fuzz-targets.txt
mkdir -p build-fuzz/fuzz-findings build-fuzz/fuzz-logs

# The limits every target must live within: no input may make a parser ask for more than
# 256 MiB at once, hold more than 512 MiB or take a minute.
run_target() {
  local name=$1 corpus=build-fuzz/fuzz-corpus/$1 flags=()
  local seeds dict options
  seeds=$(find fuzz -name "$name.seeds" | head -n 1)
  dict=$(find fuzz -name "$name.dict" | head -n 1)
  options=$(find fuzz -name "$name.options" | head -n 1)
  mkdir -p "$corpus"
  [ -n "$seeds" ] && "$seeds" "$corpus"
  [ -n "$dict" ] && flags+=("-dict=$dict")
  [ -n "$options" ] && read -r -a extra <"$options" && flags+=("${extra[@]}")
  if build-fuzz/bin/"$name" -max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=60 \
      -print_final_stats=1 -artifact_prefix=build-fuzz/fuzz-findings/"$name"- "${flags[@]}" "$corpus" \
      >build-fuzz/fuzz-logs/"$name".log 2>&1; then
    echo "run-fuzzers: $name: $(grep -E '^#[0-9]+.*DONE' build-fuzz/fuzz-logs/"$name".log | tail -n 1)"
  else
    echo "run-fuzzers: $name FAILED; see build-fuzz/fuzz-logs/$name.log"
    tail -n 30 build-fuzz/fuzz-logs/"$name".log
    return 1
  fi
}

failed=0
running=0
for name in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
