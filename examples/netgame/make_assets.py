#!/usr/bin/env python3
"""Draws the network example's craft, floor tile and chat chime into the folder given as argument."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from asset_files import Picture, save_wav, shade, sweep  # noqa: E402

COLOURS = ((80, 160, 255), (255, 90, 80), (90, 230, 110), (250, 210, 60))


def craft(path, colour):
    """A round hover craft, 32 x 32, lit from the top left."""
    picture = Picture(32, 32)
    picture.disc(16, 16, 14, lambda dx, dy, d: shade(colour, 1.15 - (dx + dy + 14) / 40))
    picture.disc(16, 16, 6, lambda dx, dy, d: shade((230, 240, 255), 1.0 - d / 12))
    picture.save_bmp(path)


def floor(path):
    """A 64 x 64 floor tile: dark panels with a lighter seam."""
    tile = Picture(64, 64, (28, 32, 44))
    for i in range(64):
        for x, y in ((i, 0), (0, i), (i, 32), (32, i)):
            tile.set(x, y, (50, 58, 78))
    tile.save_bmp(path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for index, colour in enumerate(COLOURS):
        craft(os.path.join(folder, "craft%d.bmp" % index), colour)
    floor(os.path.join(folder, "floor.bmp"))
    save_wav(os.path.join(folder, "chime.wav"), sweep(0.25, 880, 1320))


if __name__ == "__main__":
    main()
