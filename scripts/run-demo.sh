#!/usr/bin/env bash
# Builds the engine and runs the demo game.
#
# With a display (DISPLAY set) the demo opens its window there and the player ends it
# with a mouse click, Escape or by closing the window. Without one, the demo runs on a
# private Xvfb server and this script plays the player's part: it closes the
# software-rendering warning (Xvfb renders OpenGL in software) with Return, waits for
# "Init OK", saves what the window shows as build/demo-screenshot.png and ends the demo
# with a click. The exit code is the demo's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENGINE_BUILD_TESTS=OFF -DENGINE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build --target RizareZaz -j"$(nproc)"
cd build/bin

if [ -n "${DISPLAY:-}" ]; then
  exec ./RizareZaz.exe "$@"
fi

warning_title='^!!OpenGL Software Emulation!!$'
work=$(mktemp -d)
xvfb=
demo=
cleanup() {
  [ -n "$demo" ] && kill "$demo" 2>/dev/null || true
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
  echo "run-demo: no display and no Xvfb server could be started" >&2
  exit 1
fi
echo "run-demo: no display, running the demo on Xvfb $DISPLAY"

SDL_VIDEODRIVER=x11 ./RizareZaz.exe "$@" >"$work/demo.log" 2>&1 &
demo=$!

# Up to "Init OK": close the warning box as soon as it shows.
for _ in $(seq 1 600); do
  grep -q "Init OK" "$work/demo.log" && break
  kill -0 "$demo" 2>/dev/null || break
  box=$(xdotool search --name "$warning_title" 2>/dev/null | head -n 1 || true)
  if [ -n "$box" ]; then
    echo "run-demo: closing the software-rendering warning"
    xdotool windowfocus --sync "$box" key --window "$box" Return 2>/dev/null || true
  fi
  sleep 0.1
done

if grep -q "Init OK" "$work/demo.log"; then
  sleep 2
  window=$(xdotool search --name '^SetVantrel$' 2>/dev/null | head -n 1 || true)
  if [ -n "$window" ]; then
    # What the window shows, as the player would see it (Python's imaging library reads
    # the X server's screen).
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if /usr/bin/python3 - "$DISPLAY" "$X" "$Y" "$WIDTH" "$HEIGHT" ../demo-screenshot.png <<'PYTHON'
import sys
from PIL import ImageGrab
display, x, y, width, height, path = sys.argv[1], *map(int, sys.argv[2:6]), sys.argv[6]
ImageGrab.grab(bbox=(x, y, x + width, y + height), xdisplay=display).save(path)
PYTHON
    then
      echo "run-demo: the demo shows its window; saved it as build/demo-screenshot.png"
    else
      echo "run-demo: the demo shows its window; no screenshot could be saved" >&2
    fi
    echo "run-demo: clicking the mouse, which ends the demo"
    xdotool windowfocus --sync "$window" click 1 2>/dev/null || true
  fi
fi

# A demo that does not end on the click is stopped, and the run counts as failed.
for _ in $(seq 1 100); do
  kill -0 "$demo" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$demo" 2>/dev/null; then
  echo "run-demo: the demo did not end; stopping it" >&2
  kill "$demo"
fi
status=0
wait "$demo" || status=$?
demo=
cat "$work/demo.log"
echo "run-demo: the demo ended with exit code $status"
exit "$status"
