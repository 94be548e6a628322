#!/usr/bin/env python3
"""Draws the arcade example's pictures and sounds into the folder given as argument."""

import math
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from asset_files import Picture, noise_burst, save_font, save_wav, shade, sweep  # noqa: E402


def starfield(path):
    """A 128 x 128 tile of deep space that repeats seamlessly when scrolled."""
    generator = random.Random(7)
    tile = Picture(128, 128, (4, 6, 20))
    for y in range(128):
        glow = int(10 + 8 * math.sin(y / 128 * 2 * math.pi))
        for x in range(128):
            tile.set(x, y, (4, 6, 20 + glow))
    for _ in range(40):
        x, y = generator.randrange(128), generator.randrange(128)
        brightness = generator.randrange(90, 256)
        tile.set(x, y, (brightness, brightness, min(255, brightness + 30)))
    tile.save_bmp(path)


def ship(path):
    """The player's ship, 32 x 32, nose up."""
    picture = Picture(32, 32)
    for y in range(4, 30):
        half = (y - 4) * 12 // 26 + 1
        for x in range(16 - half, 16 + half):
            edge = abs(x + 0.5 - 16) / half
            picture.set(x, y, shade((90, 200, 255), 1.1 - 0.6 * edge))
    picture.disc(16, 16, 3.5, lambda dx, dy, d: (255, 255, 200))
    picture.rect(8, 27, 12, 31, (255, 140, 40))
    picture.rect(20, 27, 24, 31, (255, 140, 40))
    picture.save_bmp(path)


def rock(path):
    """A lumpy asteroid, 48 x 48, with craters."""
    picture = Picture(48, 48)
    lumps = [21 + 2.5 * math.sin(math.radians(angle) * 3 + 1) + 1.5 * math.cos(math.radians(angle) * 5)
             for angle in range(360)]

    def colour(dx, dy, distance):
        angle = int(math.degrees(math.atan2(dy, dx))) % 360
        if distance > lumps[angle]:
            return None
        light = 0.55 + 0.45 * (-dx - dy) / (distance * 1.5 + 1)
        return shade((150, 130, 110), light)

    picture.disc(24, 24, 24, colour)
    for cx, cy, radius in ((17, 18, 4), (30, 28, 5), (26, 13, 2.5)):
        picture.disc(cx, cy, radius, lambda dx, dy, d: shade((110, 95, 80), 0.7 + dy / 12))
    picture.save_bmp(path)


def saucer(path, frame):
    """One of four animation frames of the enemy saucer, 40 x 24: its lights run round."""
    picture = Picture(40, 24)
    picture.disc(20, 9, 7, lambda dx, dy, d: (140, 255, 160) if dy < 2 else None)
    for y in range(10, 20):
        half = 19 - abs(y - 14) * 2
        for x in range(20 - half, 20 + half):
            picture.set(x, y, shade((200, 80, 220), 1.0 - abs(y - 14) / 8))
    for light in range(4):
        on = (light + frame) % 4 == 0
        picture.disc(8 + light * 8, 14, 2, lambda dx, dy, d, on=on: (255, 255, 120) if on else (90, 40, 100))
    picture.save_bmp(path)


def shot(path):
    picture = Picture(4, 12)
    for y in range(12):
        picture.rect(0, y, 4, y + 1, shade((255, 255, 160), 1.0 - y / 16))
    picture.rect(1, 0, 3, 12, (255, 255, 255))
    picture.save_bmp(path)


def blast(path, frame):
    """One of four explosion frames, 48 x 48: a fire ball that grows and thins out."""
    picture = Picture(48, 48)
    radius = 8 + frame * 5
    generator = random.Random(frame)

    def colour(dx, dy, distance):
        if frame >= 2 and distance < radius - 4 - frame * 2:
            return None
        heat = 1 - distance / radius
        if generator.random() < frame * 0.12:
            return None
        return (255, int(120 + 135 * heat), int(40 * heat))

    picture.disc(24, 24, radius, colour)
    picture.save_bmp(path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)

    def at(name):
        return os.path.join(folder, name)

    starfield(at("space.bmp"))
    ship(at("ship.bmp"))
    rock(at("rock.bmp"))
    shot(at("shot.bmp"))
    for frame in range(4):
        saucer(at("saucer%d.bmp" % frame), frame)
        blast(at("blast%d.bmp" % frame), frame)
    save_font(at("score_font.bmp"), (255, 240, 120), (255, 110, 30))
    save_wav(at("laser.wav"), sweep(0.18, 1800, 300, square=True))
    save_wav(at("boom.wav"), noise_burst(0.7, seed=3, low_pass=0.08))
    save_wav(at("crash.wav"), list(noise_burst(0.9, seed=9, low_pass=0.03)))


if __name__ == "__main__":
    main()
