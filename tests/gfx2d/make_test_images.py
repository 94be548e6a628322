#!/usr/bin/python3
"""Writes picture variants and, beside each, the RGBA pixels an independent decoder
expects (<name>.rgba: "width height\n" then RGBA bytes, top row first).

BMP files are written and read back by Pillow. PNG files are written by the small
encoder below, so the expected pixels come straight from the values put in."""
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)


def expect(name, width, height, rgba):
    (out / (name + ".rgba")).write_bytes(b"%d %d\n" % (width, height) + bytes(rgba))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def write_png(name, width, height, depth, colour_type, rows, palette=None, trns=None):
    """rows: lists of sample values per row (already split into samples)."""
    raw = bytearray()
    for row in rows:
        raw.append(0)
        if depth < 8:
            bits = 0
            count = 0
            for value in row:
                bits = (bits << depth) | value
                count += depth
                if count == 8:
                    raw.append(bits)
                    bits = count = 0
            if count:
                raw.append(bits << (8 - count))
        elif depth == 8:
            raw.extend(row)
        else:
            for value in row:
                raw.extend(struct.pack(">H", value))
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0))
    if palette:
        data += chunk(b"PLTE", bytes(c for rgb in palette for c in rgb))
    if trns is not None:
        data += chunk(b"tRNS", trns)
    data += chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")
    (out / name).write_bytes(data)


W, H = 7, 5  # odd width: rows need padding in BMP files


def colour(x, y):
    return ((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * 19 + y * 3 + 40) % 256)


# BMP variants through Pillow; the expectation is Pillow's own reading of the file.
rgb = Image.new("RGB", (W, H))
for y in range(H):
    for x in range(W):
        rgb.putpixel((x, y), colour(x, y))
for name, image in (("rgb24.bmp", rgb), ("palette8.bmp", rgb.quantize(16).convert("P")),
                    ("rgb32.bmp", rgb.convert("RGBA"))):
    image.save(out / name)
    decoded = Image.open(out / name).convert("RGB")
    pixels = []
    for r, g, b in decoded.getdata():
        pixels += [r, g, b, 255]
    expect(name, W, H, pixels)

# PNG variants through the encoder above.
rows = [[c for x in range(W) for c in colour(x, y)] for y in range(H)]
write_png("rgb8.png", W, H, 8, 2, rows)
expect("rgb8.png", W, H, [v for y in range(H) for x in range(W) for v in (*colour(x, y), 255)])

rows = [[c for x in range(W) for c in (*colour(x, y), (x * 40) % 256)] for y in range(H)]
write_png("rgba8.png", W, H, 8, 6, rows)
expect("rgba8.png", W, H, [v for y in range(H) for x in range(W) for v in (*colour(x, y), (x * 40) % 256)])

rows = [[(x * 4000 + y * 9000) % 65536 for x in range(W) for _ in range(3)] for y in range(H)]
write_png("rgb16.png", W, H, 16, 2, rows)
expect("rgb16.png", W, H, [v for row in rows for i in range(0, len(row), 3) for v in (row[i] >> 8,) * 3 + (255,)])

for depth in (1, 2, 4, 8, 16):
    top = (1 << depth) - 1
    rows = [[(x + y * 3) % (top + 1) for x in range(W)] for y in range(H)]
    write_png("grey%d.png" % depth, W, H, depth, 0, rows)
    scale = (lambda v: v >> 8) if depth == 16 else (lambda v: v * 255 // top)
    expect("grey%d.png" % depth, W, H, [c for row in rows for v in row for c in (scale(v),) * 3 + (255,)])

palette = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (10, 20, 30)]
rows = [[(x + y) % 4 for x in range(W)] for y in range(H)]
write_png("palette_trns.png", W, H, 2, 3, rows, palette=palette, trns=bytes([0, 128]))
alpha = [0, 128, 255, 255]
expect("palette_trns.png", W, H, [c for row in rows for i in row for c in (*palette[i], alpha[i])])

rows = [[v for x in range(W) for v in (x * 30, 200)] for y in range(H)]
write_png("grey_alpha.png", W, H, 8, 4, rows)


def adam7_png(name, width, height, pixel):
    """8-bit RGB, interlaced: the seven passes of every eighth, fourth, ... pixel."""
    passes = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))
    raw = bytearray()
    for x0, y0, dx, dy in passes:
        if x0 >= width:
            continue
        for y in range(y0, height, dy):
            raw.append(0)
            for x in range(x0, width, dx):
                raw.extend(pixel(x, y))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 1)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")
    (out / name).write_bytes(data)


adam7_png("rgb8_interlaced.png", W, H, colour)
expect("rgb8_interlaced.png", W, H, [v for y in range(H) for x in range(W) for v in (*colour(x, y), 255)])


def hostile_png(name, width, height, depth, colour_type, raw, padding=0):
    """A header promising width x height over data that holds only raw."""
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    filler = chunk(b"tEXt", b"Comment\0" + b"x" * padding) if padding else b""
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + filler + chunk(b"IDAT", zlib.compress(raw)) +
            chunk(b"IEND", b""))
    (out / name).write_bytes(data)


# 32768 x 32768 RGBA (4 GiB) claimed by a file of about 70 bytes holding one pixel.
hostile_png("claims_huge.png", 32768, 32768, 8, 6, b"\0\1\2\3\4")
# 1-bit grey 32768 x 32768: 128 MiB of packed rows, which a file of 140 KB could inflate
# to, but only three rows are there.
hostile_png("rows_missing.png", 32768, 32768, 1, 0, (b"\0" + bytes(4096)) * 3, padding=140000)
# A real 4096 x 4096 grey picture: 64 MiB once decoded to RGBA, from about 16 KB.
hostile_png("large_grey.png", 4096, 4096, 8, 0, (b"\0" + bytes(4096)) * 4096)
