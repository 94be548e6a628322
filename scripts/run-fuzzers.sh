#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one briefly from a seed corpus.
# Usage: scripts/run-fuzzers.sh [seconds per target, default 5] [build folder of vtlpack, default build]
# Does nothing (successfully) when clang is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
tool_build=${2:-build}
if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzzers: clang++ not found; skipping the fuzz targets"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DENGINE_BUILD_TESTS=OFF -DENGINE_BUILD_BENCHMARKS=OFF -DENGINE_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz --target archive_lookup_fuzz -j"$(nproc)"

# Seeds for the archive lookup: a stand-alone archive and one appended to another file,
# both holding members under names the harness asks for.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/archive_corpus"
printf 'member member member member' >"$work/in/m.bmp"
head -c 4000 "$tool_build/bin/vtlpack" >"$work/in/vt2.bmp"
"$tool_build/bin/vtlpack" create "$work/archive_corpus/standalone.vtl" "$work/in/m.bmp" "$work/in/vt2.bmp"
head -c 200 "$tool_build/bin/vtlpack" >"$work/archive_corpus/appended.exe"
"$tool_build/bin/vtlpack" append "$work/archive_corpus/appended.exe" "$work/in/m.bmp"

build-fuzz/bin/archive_lookup_fuzz -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
  "$work/archive_corpus"

# The model and scene readers, seeded with the test models of tests/gfx3d/write_models.py.
cmake --build build-fuzz --target model_binary_fuzz model_text_fuzz model_scene_fuzz -j"$(nproc)"
python3 tests/gfx3d/write_models.py "$work/models"
mkdir -p "$work/binary_corpus" "$work/text_corpus" "$work/scene_corpus"
cp "$work"/models/*.ddd "$work/binary_corpus/"
cp "$work"/models/*.txt "$work/text_corpus/"
cp "$work"/models/scene/*.ddw "$work/scene_corpus/"
for kind in binary text scene; do
  build-fuzz/bin/model_${kind}_fuzz -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=512 \
    -malloc_limit_mb=256 -dict=fuzz/gfx3d/models.dict -print_final_stats=1 "$work/${kind}_corpus"
done
