#!/usr/bin/python3
"""Writes model, scene and picture files for the mesh tests, independently of the
engine's own writer.

usage: write_models.py FOLDER

Binary models follow the layout: u32 magic, f64 version, i32 frame, colour and
texture-coordinate counts, the colour table, (u, v) float pairs, then per frame i32
vertex count, three float offsets, three float scales and 5-byte slots (x, y, z, normal
index, colour index)."""
import struct
import sys
from pathlib import Path

out = Path(sys.argv[1])
(out / "scene").mkdir(parents=True, exist_ok=True)

MAGIC = 0x00C6B317
FAN = 0xFFFFFFFD
STRIP = 0xFFFFFFFE


def binary_model(version, colours, texcoords, frames, header_counts=None):
    counts = header_counts or (len(frames), len(colours), len(texcoords))
    data = struct.pack("<Id3i", MAGIC, version, *counts)
    data += b"".join(struct.pack("<I", c) for c in colours)
    data += b"".join(struct.pack("<2f", u, v) for u, v in texcoords)
    for offset, scale, slots in frames:
        data += struct.pack("<i3f3f", len(slots), *offset, *scale)
        data += b"".join(struct.pack("<5B", *slot) for slot in slots)
    return data


# Two frames of a fan quad: a marker slot then four corners.
QUAD_COLOURS = [FAN, 0x0000FF, 0x00FF00]
QUAD_TEX = [(0, 0), (0, 0), (1, 0), (1, 1), (0, 1)]
QUAD_FRAMES = [
    ((1.5, 2.0, 0.0), (0.5, 0.25, 1.0), [(0, 0, 0, 0, 0), (0, 0, 0, 5, 1), (255, 0, 0, 5, 1), (255, 255, 0, 161, 2), (0, 255, 0, 7, 2)]),
    ((0.0, 0.0, 0.0), (2.0, 2.0, 2.0), [(0, 0, 0, 0, 0), (10, 20, 30, 1, 1), (40, 50, 60, 2, 1), (70, 80, 90, 3, 2), (100, 110, 120, 4, 2)]),
]
files = {
    "quad.ddd": binary_model(1.02, QUAD_COLOURS, QUAD_TEX, QUAD_FRAMES),
    "version_near.ddd": binary_model(1.0200000001, QUAD_COLOURS, QUAD_TEX, QUAD_FRAMES),
    # 40 bytes claiming 2^31 - 1 slots in its only frame.
    "huge_vertices.ddd": binary_model(1.02, [], [], [((0, 0, 0), (1, 1, 1), [])])[:24] + struct.pack("<i6f", 0x7FFFFFFF, 0, 0, 0, 1, 1, 1)[:16],
    "huge_colours.ddd": binary_model(1.02, [], [], [], header_counts=(1, 0x7FFFFFFF, 0)) + b"\0" * 16,
    "huge_frames.ddd": binary_model(1.02, [], [], [], header_counts=(0x7FFFFFFF, 0, 0)) + b"\0" * 16,
    "truncated.ddd": binary_model(1.02, QUAD_COLOURS, QUAD_TEX, QUAD_FRAMES)[:-7],
    "bad_normal.ddd": binary_model(1.02, QUAD_COLOURS, QUAD_TEX, [((0, 0, 0), (1, 1, 1), [(0, 0, 0, 0, 0), (1, 2, 3, 162, 1)])]),
    "bad_colour.ddd": binary_model(1.02, QUAD_COLOURS, QUAD_TEX, [((0, 0, 0), (1, 1, 1), [(0, 0, 0, 0, 0), (1, 2, 3, 4, 3)])]),
    "short_header.ddd": struct.pack("<Id", MAGIC, 1.02),
    "no_frames.ddd": binary_model(1.02, [], [], []),
}

# Text models. One triangle (vertices 0, 1, 2), version 1.1 with normals.
TRIANGLE_11 = "1.1\n3 0 0 1 0 0 1\n1\n255 128 0 3 0 0 1 1 2 2\n1\n3\n0 0 0 0 0 1\n2 0 0 0 0 1\n0 4 0 0 0 1\n"
files.update({
    "triangle.txt": "DDDA " + TRIANGLE_11,
    "comments.txt": "# a model\r\nDDDA 1.1 # version\r\n3 0 0 1 0 0 1\r\n1 # one polygon\r\n255 128 0 3 0 0 1 1 2 2\r\n"
                    "1\r\n3\r\n0 0 0 0 0 1\r\n2 0 0 0 0 1\r\n0 4 0 0 0 1 # last\r\n",
    # The comment line is longer than the lookahead: reading resumes 512 bytes after '#'.
    "long_comment.txt": "DDDA #" + "c" * 511 + " " + TRIANGLE_11,
    # The version token is far longer than a token may be; only its first 1023 characters count.
    "long_token.txt": "DDDA 1.1" + "0" * 5000 + " " + TRIANGLE_11[4:],
    # Two frames of a quad in version 1.0 (positions only), no texture coordinates.
    "two_frames.txt": "DDDA 1.0 0 1 0 0 255 4 0 0 1 0 2 0 3 0\n2\n4 0 0 0 1 0 0 1 1 0 0 1 0\n4 0 0 0 2 0 0 2 2 0 0 2 0\n",
    # Ends inside the last vertex: its missing numbers read as 0.
    "ends_early.txt": "DDDA 1.1 0 1 10 20 30 3 0 0 1 0 2 0 1 3 0 0 0 0 1 0 4 0 0 0 1 0 4 2",
    "not_ddda.txt": "DDDB 1.0 0 0 0",
    "version12.txt": "DDDA 1.2 0 0 0",
    "bad_vertex.txt": "DDDA 1.0 0 1 0 0 0 3 0 0 1 0 3 0 1 3 0 0 0 1 0 0 0 1 0",
    "bad_texcoord.txt": "DDDA 1.0 2 0 0 1 1 1 0 0 0 3 0 0 1 1 2 2 1 3 0 0 0 1 0 0 0 1 0",
    "huge_count.txt": "DDDA 1.0 4000000000 0 0 1",
    # One polygon of 65536 corners repeated by 1025 frames: more slots than a model may have.
    "huge_product.txt": "DDDA 1.0 0 1 0 0 0 65536 " + "0 0 " * 65536 + "1025 " + "1 0 0 0 " * 1025,
    "flat.txt": "DDDA 1.0 0 1 0 0 0 3 0 0 1 0 2 0 1 3 -1 5 7 3 5 7 1 5 7",
})

# A scene in a folder of its own: two textures, two models whose first-texture keys are
# 1 and 0 (both select the first texture), one model that is missing.
files["scene/world.ddw"] = (";DDW scene\r\n[textures]\r\ncount=2\r\n1=red.bmp\r\n2=green.bmp\r\n"
                            "[objects]\r\ncount=3\r\n1=quad.ddd\r\n1ta=1\r\n1tb=2\r\n2=triangle.txt\r\n2ta=0\r\n"
                            "3=missing.ddd\r\n")
files["scene/quad.ddd"] = files["quad.ddd"]
files["scene/triangle.txt"] = files["triangle.txt"]


def bmp(rgb, size=4):
    row = bytes([rgb[2], rgb[1], rgb[0]]) * size
    pixels = row * size
    return b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + struct.pack(
        "<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels


files["scene/red.bmp"] = bmp((255, 0, 0))
files["scene/green.bmp"] = bmp((0, 255, 0))

for name, contents in files.items():
    (out / name).write_bytes(contents if isinstance(contents, bytes) else contents.encode())
