#!/usr/bin/env bash
# Installs the Debian packages the engine, its tools and its tests need.
# Idempotent: packages already present are left alone, and the package index is
# refreshed only when something has to be installed.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config git python3
  # engine libraries
  libsdl2-dev libsdl2-mixer-dev libmpv-dev libpng-dev zlib1g-dev liblzo2-dev libgl-dev libgl1-mesa-dri
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libx11-dev xvfb xauth xdotool python3-networkx python3-pil
  # sound and movie files made by real tools for the sound tests
  sox espeak-ng ffmpeg
  # the desktop file chooser the file dialogs start
  zenity
  # benchmark-only: the reference A* search the path benchmark compares against, and the
  # 3D library the mesh-drawing benchmark draws the same workloads with
  libboost-graph-dev libirrlicht-dev
  # test-only: an independent archive writer (Python with LZO) and clang's libFuzzer
  python3-lzo clang libclang-rt-14-dev
  # the model converter's reader of common 3D formats
  libassimp-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
