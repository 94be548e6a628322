#!/usr/bin/env bash
# Runs a program on a private Xvfb server (SDL's x11 driver, dummy audio), closing the
# engine's software-rendering warning box whenever it shows, and prints the program's
# output. Any environment the caller sets (GLIBC_TUNABLES, ...) reaches the program.
#
#   bench/gfx3d/run_on_xvfb.sh build/bin/scene_frames 300
set -euo pipefail
program=$1
shift
work=$(mktemp -d)
xvfb=
runner=
cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for number in $(seq 190 289); do
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
[ -n "${DISPLAY:-}" ] || { echo "run_on_xvfb: no Xvfb server could be started" >&2; exit 1; }

SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$program" "$@" >"$work/out.log" 2>&1 &
runner=$!
while kill -0 "$runner" 2>/dev/null; do
  box=$(xdotool search --name '^!!OpenGL Software Emulation!!$' 2>/dev/null | head -n 1 || true)
  [ -n "$box" ] && xdotool windowfocus --sync "$box" key --window "$box" Return 2>/dev/null || true
  sleep 0.2
done
status=0
wait "$runner" || status=$?
runner=
cat "$work/out.log"
exit "$status"
