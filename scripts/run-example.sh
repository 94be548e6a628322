#!/usr/bin/env bash
# Builds an example game and runs it: scripts/run-example.sh NAME [ARGUMENTS...]
# (NAME: arcade, netgame, pathfinder or crystalyard; the arguments go to the game).
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
source scripts/private_xvfb.sh

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

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  xvfb_stop
}
trap cleanup EXIT

if ! xvfb_start run-example 90; then
  echo "run-example: no display and no Xvfb server could be started" >&2
  exit 1
fi
echo "run-example: no display, running $name on Xvfb $DISPLAY"

# Starts one instance with its log in $xvfb_work/<index>.log and waits for "Init OK".
start_instance() {
  local index=$1
  shift
  SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "./$name" "$@" --frames 180 >"$xvfb_work/$index.log" 2>&1 &
  pids+=($!)
  xvfb_wait_for_line "$xvfb_work/$index.log" "Init OK" "$!" 600
}

start_instance 0 "$@" || echo "run-example: $name did not start" >&2
if [ -n "$partner" ]; then
  # shellcheck disable=SC2086
  start_instance 1 $partner || echo "run-example: the second $name did not start" >&2
fi

# The game flies itself for its frames and then says so; its window shows its last frame.
if xvfb_wait_for_line "$xvfb_work/0.log" "Frames done" "${pids[0]}" 1200; then
  window=$(xdotool search --onlyvisible --pid "${pids[0]}" 2>/dev/null | head -n 1 || true)
  if [ -n "$window" ] && xvfb_save_window "$window" "../$name-screenshot.png"; then
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
  cat "$xvfb_work/$index.log"
done
pids=()
echo "run-example: $name ended with exit code $status"
exit "$status"
