"""Pictures, sounds and a bitmap font for the example games, computed from scratch.

Every example's make_assets.py imports this module. It writes 24-bit BMP pictures (the
sprite colour key, red 255, green 0, blue 128, marks transparent pixels), 16-bit mono
WAV sounds and a font picture of 16 x 8 cells, using only the Python standard library.
"""

import math
import random
import struct
import wave

COLOUR_KEY = (255, 0, 128)
SOUND_RATE = 22050


class Picture:
    def __init__(self, width, height, fill=COLOUR_KEY):
        self.width = width
        self.height = height
        self.pixels = [fill] * (width * height)

    def set(self, x, y, colour):
        x, y = int(x), int(y)
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def disc(self, cx, cy, radius, colour_at):
        """Fills a disc; colour_at(dx, dy, distance) picks each pixel's colour (None skips)."""
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                distance = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if distance <= radius:
                    colour = colour_at(x + 0.5 - cx, y + 0.5 - cy, distance)
                    if colour is not None:
                        self.set(x, y, colour)

    def rect(self, x1, y1, x2, y2, colour):
        for y in range(int(y1), int(y2)):
            for x in range(int(x1), int(x2)):
                self.set(x, y, colour)

    def save_bmp(self, path):
        """24-bit BMP, rows bottom up, each row padded to four bytes."""
        row_size = (self.width * 3 + 3) & ~3
        image_size = row_size * self.height
        header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, image_size, 2835, 2835, 0, 0)
        rows = []
        for y in range(self.height - 1, -1, -1):
            row = bytearray()
            for red, green, blue in self.pixels[y * self.width:(y + 1) * self.width]:
                row += bytes((blue, green, red))
            row += bytes(row_size - len(row))
            rows.append(bytes(row))
        with open(path, "wb") as file:
            file.write(header + info + b"".join(rows))


def shade(colour, factor):
    return tuple(max(0, min(255, int(component * factor))) for component in colour)


def save_wav(path, samples):
    """Samples from -1 to 1, written as 16-bit mono at SOUND_RATE."""
    frames = bytearray()
    for sample in samples:
        frames += struct.pack("<h", int(max(-1.0, min(1.0, sample)) * 32000))
    with wave.open(path, "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(SOUND_RATE)
        file.writeframes(bytes(frames))


def sweep(seconds, start_hz, end_hz, square=False):
    """A tone gliding from start_hz to end_hz, fading out."""
    count = int(seconds * SOUND_RATE)
    phase = 0.0
    for index in range(count):
        progress = index / count
        phase += 2 * math.pi * (start_hz + (end_hz - start_hz) * progress) / SOUND_RATE
        value = math.sin(phase)
        if square:
            value = 0.6 if value >= 0 else -0.6
        yield value * (1 - progress) * 0.8


def noise_burst(seconds, seed, low_pass=0.2):
    """Filtered noise with a falling envelope: explosions and thuds."""
    generator = random.Random(seed)
    count = int(seconds * SOUND_RATE)
    value = 0.0
    for index in range(count):
        value += (generator.uniform(-1, 1) - value) * low_pass
        yield value * 2.5 * (1 - index / count) ** 2


# A 3 x 5 pixel glyph per character, rows top to bottom, three bits each.
GLYPHS = {
    "0": "111 101 101 101 111", "1": "010 110 010 010 111", "2": "111 001 111 100 111",
    "3": "111 001 111 001 111", "4": "101 101 111 001 001", "5": "111 100 111 001 111",
    "6": "111 100 111 101 111", "7": "111 001 001 001 001", "8": "111 101 111 101 111",
    "9": "111 101 111 001 111", "A": "010 101 111 101 101", "B": "110 101 110 101 110",
    "C": "011 100 100 100 011", "D": "110 101 101 101 110", "E": "111 100 110 100 111",
    "F": "111 100 110 100 100", "G": "011 100 101 101 011", "H": "101 101 111 101 101",
    "I": "111 010 010 010 111", "J": "001 001 001 101 010", "K": "101 101 110 101 101",
    "L": "100 100 100 100 111", "M": "101 111 111 101 101", "N": "110 101 101 101 101",
    "O": "010 101 101 101 010", "P": "110 101 110 100 100", "Q": "010 101 101 110 011",
    "R": "110 101 110 101 101", "S": "011 100 010 001 110", "T": "111 010 010 010 010",
    "U": "101 101 101 101 111", "V": "101 101 101 101 010", "W": "101 101 111 111 101",
    "X": "101 101 010 101 101", "Y": "101 101 010 010 010", "Z": "111 001 010 100 111",
    ":": "000 010 000 010 000", "-": "000 000 111 000 000", ".": "000 000 000 000 010",
    "!": "010 010 010 000 010", "?": "110 001 010 000 010", "/": "001 001 010 100 100",
    "'": "010 010 000 000 000", ",": "000 000 000 010 100", "(": "001 010 010 010 001",
    ")": "100 010 010 010 100", ">": "100 010 001 010 100", "<": "001 010 100 010 001",
    "=": "000 111 000 111 000", "+": "000 010 111 010 000", "_": "000 000 000 000 111",
}


def save_font(path, top_colour, bottom_colour, cell=16, scale=3):
    """A font picture of 16 x 8 cells (character codes 0 to 127) on black, which the
    font loader makes transparent. Lower-case letters share the capitals' glyphs; each
    lit block is shaded from top_colour to bottom_colour with a dark outline."""
    picture = Picture(16 * cell, 8 * cell, (0, 0, 0))
    outline = (16, 16, 16)
    for code in range(128):
        glyph = GLYPHS.get(chr(code).upper())
        if glyph is None:
            continue
        rows = glyph.split()
        left = (code % 16) * cell + (cell - 3 * scale) // 2
        top = (code // 16) * cell + (cell - 5 * scale) // 2
        lit = set()
        for row, bits in enumerate(rows):
            for column, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            lit.add((left + column * scale + dx, top + row * scale + dy))
        for x, y in lit:
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if (nx, ny) not in lit:
                    picture.set(nx, ny, outline)
        for x, y in lit:
            weight = (y - top) / (5 * scale - 1)
            picture.set(x, y, tuple(int(a + (b - a) * weight) for a, b in zip(top_colour, bottom_colour)))
    picture.save_bmp(path)
