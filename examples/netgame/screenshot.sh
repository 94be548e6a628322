#!/usr/bin/env bash
# Builds the example, starts a host ("Ann") and a player who joins it ("Bob") on one
# private X server (without a display), lets both play themselves for 180 frames and saves
# what the screen shows as build/netgame-screenshot.png.
port=${1:-26000}
exec "$(dirname "$0")/../../scripts/run-example.sh" --partner "--join 127.0.0.1 --port $port --name Bob" \
  netgame --host --port "$port" --name Ann
