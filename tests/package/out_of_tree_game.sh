#!/usr/bin/env bash
# Installs the built engine into a temporary prefix and builds games outside the source
# tree against it, as a game maker would: a five-line CMakeLists.txt game, the installed
# path-finding example, and a plain Makefile game through pkg-config. The two small
# games run headless and must print their line and end with code 0.
# Usage: out_of_tree_game.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }

mkdir "$work/game"
cat >"$work/game/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(Hello LANGUAGES CXX)
find_package(Trovane CONFIG REQUIRED)
add_game(hello hello.cpp ARCHIVE message.txt)
CMAKE
cat >"$work/game/hello.cpp" <<'CPP'
#include <cstdio>
#include "engine.h"
ProjectSettings GameProjectSettings() { ProjectSettings settings; settings.title = "Hello"; return settings; }
int GameMain() {
  // The text comes out of the archive appended to the executable.
  SelectArchive("hello", "");
  BasicString line;
  GetFileLine("message.txt", 0, line);
  std::printf("%s, %g\n", line.TextPointer(), SquareRoot(1764));
  return 0;
}
CPP
printf 'Hello from the archive\n' >"$work/game/message.txt"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TMPDIR=$work
run_game() {
  local output
  output=$("$@" 2>&1) || { echo "$output"; echo "out-of-tree: $1 failed" >&2; return 1; }
  grep -q "^Hello from the archive, 42$" <<<"$output" || { echo "$output"; echo "out-of-tree: $1 did not print its line" >&2; return 1; }
}

echo "out-of-tree: a CMake game"
cmake -S "$work/game" -B "$work/game/build" -DCMAKE_PREFIX_PATH="$prefix" >"$work/game.log" 2>&1 &&
  cmake --build "$work/game/build" >>"$work/game.log" 2>&1 || { cat "$work/game.log"; exit 1; }
run_game "$work/game/build/hello"

# (Examples are installed when the engine was configured with them.)
if [ -d "$prefix/share/Trovane/examples" ]; then
  echo "out-of-tree: the installed path-finding example"
  cp -r "$prefix/share/Trovane/examples" "$work/examples"
  cmake -S "$work/examples/pathfinder" -B "$work/pathfinder" -DCMAKE_PREFIX_PATH="$prefix" >"$work/example.log" 2>&1 &&
    cmake --build "$work/pathfinder" >>"$work/example.log" 2>&1 || { cat "$work/example.log"; exit 1; }
  "$prefix/bin/vtlpack" list "$work/pathfinder/pathfinder" | grep -q "step.bmp"
fi

echo "out-of-tree: a Makefile game through pkg-config"
mkdir "$work/make"
cp "$work/game/hello.cpp" "$work/game/message.txt" "$work/make/"
printf 'hello: hello.cpp\n\t$(CXX) -o $@ $< $$(pkg-config --cflags --libs trovane)\n\t%s append $@ message.txt\n' \
  "$prefix/bin/vtlpack" >"$work/make/Makefile"
PKG_CONFIG_PATH=$prefix/lib/pkgconfig make -C "$work/make" >"$work/make.log" 2>&1 || { cat "$work/make.log"; exit 1; }
(cd "$work/make" && run_game ./hello)
echo "out-of-tree: all built and ran"
