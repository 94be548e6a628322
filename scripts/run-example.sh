#!/usr/bin/env bash
# Builds an example game and runs it: scripts/run-example.sh NAME [ARGUMENTS...]
# (NAME: arcade, netgame or pathfinder; the arguments go to the game).
#
# With a display (DISPLAY set) the game opens its window there and the player plays.
# Without one, the game runs on a private Xvfb server and flies itself: it gets
# "--frames 180", this script closes the software-rendering warning (Xvfb renders
# OpenGL in software) with Return, waits for the game's "Frames done", saves what the
# window shows as build/NAME-screenshot.png and ends the game with Escape. The exit code
# is the game's.
#
# --partner "ARGUMENTS" (before NAME) starts a second instance of the game with those
# arguments once the first has started, on the same display; the network example uses
# it to show two players.
set -euo pipefail
cd "$(dirname "$0")/.."

partner=
if [ "${1:-}" = "--partner" ]; then
  partner=$2
  shift 2
fi
name=${1:?usage: run-example.sh [--partner ARGUMENTS] NAME [ARGUMENTS...]}
shift

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target "$name" -j"$(nproc)"
cd build/bin

if [ -n "${DISPLAY:-}" ]; then
  if [ -n "$partner" ]; then
    # shellcheck disable=SC2086
    (sleep 3 && "./$name" $partner) &
  fi
  exec "./$name" "$@"
fi

warning_title='^!!OpenGL Software Emulation!!$'
work=$(mktemp -d)
xvfb=
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The first display number without a server, from 90 on.
for number in $(seq 90 189); do
  [ -e "/tmp/.X${number}-lock" ] && continue
  Xvfb ":${number}" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 1 100); do
    if DISPLAY=":${number}" xdotool getdisplaygeometry >/dev/null 2>&1; then
      export DISPLAY=":${number}"
      break 2
    fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  kill "$xvfb" 2>/dev/null || true
  xvfb=
done
if [ -z "${DISPLAY:-}" ]; then
  echo "run-example: no display and no Xvfb server could be started" >&2
  exit 1
fi
echo "run-example: no display, running $name on Xvfb $DISPLAY"

# Starts one instance with its log in $work/<index>.log and waits for "Init OK", closing
# the software-rendering warning as soon as it shows.
start_instance() {
  local index=$1
  shift
  SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "./$name" "$@" --frames 180 >"$work/$index.log" 2>&1 &
  pids+=($!)
  local pid=$!
  for _ in $(seq 1 600); do
    grep -q "Init OK" "$work/$index.log" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    box=$(xdotool search --name "$warning_title" 2>/dev/null | head -n 1 || true)
    if [ -n "$box" ]; then
      xdotool windowfocus --sync "$box" key --window "$box" Return 2>/dev/null || true
    fi
    sleep 0.1
  done
  return 1
}

start_instance 0 "$@" || echo "run-example: $name did not start" >&2
if [ -n "$partner" ]; then
  # shellcheck disable=SC2086
  start_instance 1 $partner || echo "run-example: the second $name did not start" >&2
fi

# The game flies itself for its frames and then says so; its window shows its last frame.
for _ in $(seq 1 1200); do
  grep -q "Frames done" "$work/0.log" && break
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.1
done
window=$(xdotool search --onlyvisible --pid "${pids[0]}" 2>/dev/null | head -n 1 || true)
if grep -q "Frames done" "$work/0.log" && [ -n "$window" ]; then
  eval "$(xdotool getwindowgeometry --shell "$window")"
  if /usr/bin/python3 - "$DISPLAY" "$X" "$Y" "$WIDTH" "$HEIGHT" "../$name-screenshot.png" <<'PYTHON'
import sys
from PIL import ImageGrab
display, x, y, width, height, path = sys.argv[1], *map(int, sys.argv[2:6]), sys.argv[6]
ImageGrab.grab(bbox=(x, y, x + width, y + height), xdisplay=display).save(path)
PYTHON
  then
    echo "run-example: saved what $name shows as build/$name-screenshot.png"
  else
    echo "run-example: no screenshot could be saved" >&2
  fi
fi

# Escape ends each instance; one that does not end is stopped and counts as failed.
status=0
for index in "${!pids[@]}"; do
  pid=${pids[$index]}
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
      xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
    done
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "run-example: $name did not end; stopping it" >&2
    kill "$pid"
  fi
  code=0
  wait "$pid" || code=$?
  [ "$index" = 0 ] && status=$code
  echo "--- $name${index/#0/} output:"
  cat "$work/$index.log"
done
pids=()
echo "run-example: $name ended with exit code $status"
exit "$status"
