#!/usr/bin/env bash
# Runs a program on a private Xvfb server (SDL's x11 driver, dummy audio), closing the
# engine's software-rendering warning box whenever it shows, and prints the program's
# output. Any environment the caller sets (GLIBC_TUNABLES, ...) reaches the program.
#
#   bench/gfx3d/run_on_xvfb.sh build/bin/scene_frames 300
set -euo pipefail
program=$1
shift
source "$(dirname "$0")/../../scripts/private_xvfb.sh"
runner=
cleanup() {
  if [ -n "$runner" ]; then kill "$runner" 2>/dev/null || true; fi
  xvfb_stop
}
trap cleanup EXIT

xvfb_start run_on_xvfb 190 || { echo "run_on_xvfb: no Xvfb server could be started" >&2; exit 1; }

SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$program" "$@" >"$xvfb_work/out.log" 2>&1 &
runner=$!
while kill -0 "$runner" 2>/dev/null; do
  xvfb_close_warning || true
  sleep 0.2
done
status=0
wait "$runner" || status=$?
runner=
cat "$xvfb_work/out.log"
exit "$status"
