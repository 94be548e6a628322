#!/usr/bin/env python3
"""Draws the path-finding example's terrain tiles and markers into the folder given as argument."""

import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from asset_files import Picture, shade  # noqa: E402

TILE = 32


def terrain(path, base, speckle, seed, bricks=False):
    """A 32 x 32 terrain tile: a base colour with random speckles, or a brick wall."""
    generator = random.Random(seed)
    tile = Picture(TILE, TILE, base)
    for y in range(TILE):
        for x in range(TILE):
            if bricks:
                row = y // 8
                mortar = y % 8 == 7 or (x + (row % 2) * 8) % 16 == 15
                tile.set(x, y, (70, 70, 75) if mortar else shade(base, 0.85 + generator.random() * 0.3))
            elif generator.random() < 0.18:
                tile.set(x, y, speckle)
    # A darker rim separates the tiles on screen.
    for i in range(TILE):
        for x, y in ((i, TILE - 1), (TILE - 1, i)):
            tile.set(x, y, shade(tile.get(x, y), 0.7))
    tile.save_bmp(path)


def flag(path, colour):
    """A flag on a pole, on the colour key."""
    picture = Picture(TILE, TILE)
    picture.rect(8, 4, 11, 29, (60, 40, 20))
    for y in range(4, 16):
        for x in range(11, 11 + (16 - y) + 6):
            picture.set(x, y, shade(colour, 1.0 - (x - 11) / 40))
    picture.rect(4, 28, 16, 30, (40, 30, 20))
    picture.save_bmp(path)


def step(path):
    """The marker drawn on every cell of the path."""
    picture = Picture(16, 16)
    picture.disc(8, 8, 6.5, lambda dx, dy, d: shade((255, 230, 60), 1.2 - d / 8))
    picture.save_bmp(path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    terrain(os.path.join(folder, "grass.bmp"), (60, 150, 60), (90, 190, 80), 1)
    terrain(os.path.join(folder, "sand.bmp"), (210, 190, 120), (180, 160, 100), 2)
    terrain(os.path.join(folder, "swamp.bmp"), (50, 90, 90), (30, 60, 50), 3)
    terrain(os.path.join(folder, "wall.bmp"), (150, 80, 60), (0, 0, 0), 4, bricks=True)
    flag(os.path.join(folder, "start.bmp"), (60, 120, 255))
    flag(os.path.join(folder, "goal.bmp"), (255, 60, 60))
    step(os.path.join(folder, "step.bmp"))


if __name__ == "__main__":
    main()
