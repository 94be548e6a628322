#!/usr/bin/env bash
# The private-Xvfb steps the run scripts share (scripts/private_xvfb.sh), with the demo
# game: a server starts on a free display, the software-rendering warning is closed
# while a line is awaited, a program that ends first is reported, the window's picture
# is saved, and stopping ends the server and removes the work folder.
# Usage: private_xvfb_test.sh SOURCE_DIR PROGRAM_DIR
set -euo pipefail
source "$1/scripts/private_xvfb.sh"
program_dir=$2
demo=
cleanup() {
  if [ -n "$demo" ]; then kill "$demo" 2>/dev/null || true; fi
  xvfb_stop
}
trap cleanup EXIT
fail() { echo "private_xvfb_test: $*" >&2; exit 1; }

unset DISPLAY
xvfb_start private_xvfb_test 290 || fail "no server started"
xdotool getdisplaygeometry >/dev/null || fail "DISPLAY $DISPLAY does not answer"
server=$xvfb_pid
work=$xvfb_work

# A program that ends without the line is reported, not waited for.
true &
xvfb_wait_for_line "$work/none.log" "Init OK" "$!" 100000 && fail "a line that never came was seen"

# The demo waits behind the warning until it is closed, then says "Init OK".
log=$work/demo.log
(cd "$program_dir" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec ./RizareZaz.exe >"$log" 2>&1) &
demo=$!
xvfb_wait_for_line "$log" "Init OK" "$demo" 1200 || fail "the demo did not start: $(cat "$log")"
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --name '^SetVantrel$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "the demo shows no window"
xvfb_save_window "$window" "$work/shown.png" || fail "no picture saved"
/usr/bin/python3 - "$work/shown.png" <<'PYTHON' || fail "the picture is not the demo's window"
import sys
from PIL import Image
picture = Image.open(sys.argv[1])
sys.exit(0 if picture.size == (640, 480) and picture.getextrema() != ((0, 0), (0, 0), (0, 0)) else 1)
PYTHON
kill "$demo"
wait "$demo" 2>/dev/null || true
demo=

xvfb_stop
wait "$server" 2>/dev/null || true
kill -0 "$server" 2>/dev/null && fail "the server still runs"
[ ! -e "$work" ] || fail "the work folder is left"
echo "private_xvfb_test: passed"
