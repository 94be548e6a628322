#!/usr/bin/env bash
# Builds the example, lets it play itself for 180 frames on a private X server (without
# a display) and saves what its window shows as build/crystalyard-screenshot.png.
exec "$(dirname "$0")/../../scripts/run-example.sh" crystalyard "$@"
