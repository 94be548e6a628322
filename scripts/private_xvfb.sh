# The steps every script shares that runs an engine program on a private Xvfb server:
# sourced by scripts/run-demo.sh, scripts/run-example.sh and bench/gfx3d/run_on_xvfb.sh.
#
#   xvfb_start NAME FIRST     starts Xvfb (1024 x 768, 24 bits) on the first free display
#                             number from FIRST on and exports DISPLAY; 1 when none could
#                             be started. NAME begins the lines the helpers print.
#   xvfb_stop                 ends the server and removes its work folder ($xvfb_work,
#                             which callers may use for their logs too)
#   xvfb_close_warning        presses Return in the engine's software-rendering warning
#                             (Xvfb renders OpenGL in software); 1 when none shows
#   xvfb_wait_for_line LOG TEXT PID STEPS
#                             waits STEPS tenths of a second for TEXT in LOG, closing the
#                             warning meanwhile; 1 when PID ends or the time runs out first
#   xvfb_save_window WINDOW PATH
#                             saves what the window shows, as a player sees it, as a PNG

xvfb_name=xvfb
xvfb_pid=
xvfb_work=

xvfb_start() {
  xvfb_name=$1
  local first=$2 number
  xvfb_work=$(mktemp -d)
  for number in $(seq "$first" $((first + 99))); do
    [ -e "/tmp/.X${number}-lock" ] && continue
    Xvfb ":${number}" -screen 0 1024x768x24 -nolisten tcp >"$xvfb_work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
      if DISPLAY=":${number}" xdotool getdisplaygeometry >/dev/null 2>&1; then
        export DISPLAY=":${number}"
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  return 1
}

xvfb_stop() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=
  if [ -n "$xvfb_work" ]; then rm -rf "$xvfb_work"; fi
  xvfb_work=
}

xvfb_close_warning() {
  local box
  box=$(xdotool search --name '^!!OpenGL Software Emulation!!$' 2>/dev/null | head -n 1 || true)
  [ -n "$box" ] || return 1
  echo "$xvfb_name: closing the software-rendering warning" >&2
  xdotool windowfocus --sync "$box" key --window "$box" Return 2>/dev/null || true
}

xvfb_wait_for_line() {
  local log=$1 text=$2 pid=$3 steps=$4
  for _ in $(seq 1 "$steps"); do
    grep -q "$text" "$log" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    xvfb_close_warning || true
    sleep 0.1
  done
  return 1
}

xvfb_save_window() {
  local window=$1 path=$2 WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")" || return 1
  # Python's imaging library reads the X server's screen.
  /usr/bin/python3 - "$DISPLAY" "$X" "$Y" "$WIDTH" "$HEIGHT" "$path" <<'PYTHON'
import sys
from PIL import ImageGrab
display, x, y, width, height, path = sys.argv[1], *map(int, sys.argv[2:6]), sys.argv[6]
ImageGrab.grab(bbox=(x, y, x + width, y + height), xdisplay=display).save(path)
PYTHON
}
