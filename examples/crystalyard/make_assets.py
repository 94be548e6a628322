#!/usr/bin/env python3
"""Writes Crystal Yard's models and pictures into the folder given as argument.

The two models are text model files ("DDDA", version 1.1: positions and normals):
blob.ddd, a creature that hops in a loop of nine frames (the last equals the first, so
blending from frame 0 to 8 loops smoothly), and yard.ddd, the walls and corner towers
round the yard. Every polygon's corners run counter-clockwise seen from outside, and
every part is closed (neighbouring polygons share their vertices), as the shadow volumes
need.
"""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from asset_files import Picture, shade  # noqa: E402

BLOB_FRAMES = 9
YARD_HALF = 10.0


class TextModel:
    """Polygons over a shared vertex list, with one vertex list per frame."""

    def __init__(self):
        self.tex_coords = []
        self.polygons = []  # (colour, [(vertex index, texture index), ...])
        self.frames = []  # per frame: [(x, y, z, nx, ny, nz), ...]

    def add_polygon(self, colour, corners, uvs=None):
        if uvs is None:
            self.polygons.append((colour, [(corner, 0) for corner in corners]))
            return
        first = len(self.tex_coords)
        self.tex_coords.extend(uvs)
        self.polygons.append((colour, [(corner, first + i) for i, corner in enumerate(corners)]))

    def save(self, path):
        lines = ["DDDA", "1.1", str(len(self.tex_coords))]
        lines += ["%.4f %.4f" % uv for uv in self.tex_coords]
        lines.append(str(len(self.polygons)))
        for (red, green, blue), corners in self.polygons:
            pairs = " ".join("%d %d" % corner for corner in corners)
            lines.append("%d %d %d %d %s" % (red, green, blue, len(corners), pairs))
        lines.append(str(len(self.frames)))
        for vertices in self.frames:
            lines.append(str(len(vertices)))
            lines += [" ".join("%.5f" % value for value in vertex) for vertex in vertices]
        with open(path, "w") as file:
            file.write("\n".join(lines) + "\n")


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def minus(a, b):
    return tuple(x - y for x, y in zip(a, b))


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def normalised(v):
    length = math.sqrt(dot(v, v))
    return tuple(x / length for x in v) if length > 0 else v


def outward(corners, positions, centre):
    """The corners in counter-clockwise order seen from outside (away from centre)."""
    p = [positions[c] for c in corners]
    normal = cross(minus(p[1], p[0]), minus(p[2], p[0]))
    middle = tuple(sum(axis) / len(p) for axis in zip(*p))
    return corners if dot(normal, minus(middle, centre)) >= 0 else corners[::-1]


class Ellipsoid:
    """A closed latitude-longitude ellipsoid; its vertices are numbered from first."""

    def __init__(self, first, centre, radii, rings, segments):
        self.first, self.centre, self.radii = first, centre, radii
        self.rings, self.segments = rings, segments
        # Unit-sphere points: the top pole, rings-1 rings of segments points, the bottom pole.
        self.unit = [(0.0, 1.0, 0.0)]
        for ring in range(1, rings):
            theta = math.pi * ring / rings
            for segment in range(segments):
                phi = 2 * math.pi * segment / segments
                self.unit.append((math.sin(theta) * math.cos(phi), math.cos(theta), math.sin(theta) * math.sin(phi)))
        self.unit.append((0.0, -1.0, 0.0))

    def index(self, ring, segment):
        if ring == 0:
            return self.first
        if ring == self.rings:
            return self.first + len(self.unit) - 1
        return self.first + 1 + (ring - 1) * self.segments + segment % self.segments

    def polygons(self):
        """Each polygon as a list of vertex indices (triangles at the poles, quads between)."""
        for ring in range(self.rings):
            for segment in range(self.segments):
                corners = [self.index(ring, segment), self.index(ring + 1, segment),
                           self.index(ring + 1, segment + 1), self.index(ring, segment + 1)]
                yield list(dict.fromkeys(corners))  # the pole's two corners are one vertex

    def vertices(self, squash=(1.0, 1.0), lift=0.0):
        """Positions and normals, scaled across by squash[0] and up by squash[1] about the
        ground below the centre, then lifted."""
        across, up = squash
        result = []
        for ux, uy, uz in self.unit:
            x = self.centre[0] + ux * self.radii[0] * across
            y = self.centre[1] * up + uy * self.radii[1] * up + lift
            z = self.centre[2] + uz * self.radii[2] * across
            normal = normalised((ux / (self.radii[0] * across), uy / (self.radii[1] * up), uz / (self.radii[2] * across)))
            result.append((x, y, z) + normal)
        return result


def blob_model():
    orange, cream, white, ink, brown = (240, 130, 40), (250, 215, 150), (250, 250, 250), (25, 25, 40), (120, 70, 30)
    parts = []  # (ellipsoid, colour rule, moves with the body)

    def add(centre, radii, rings, segments, colour, body=True):
        first = sum(len(part[0].unit) for part in parts)
        parts.append((Ellipsoid(first, centre, radii, rings, segments), colour, body))

    # The body's front (towards +z) is cream below the eyes.
    def belly(middle):
        direction = normalised((middle[0] / 0.6, (middle[1] - 0.8) / 0.75, middle[2] / 0.6))
        return cream if direction[2] > 0.45 and direction[1] < 0.25 else orange

    add((0.0, 0.8, 0.0), (0.6, 0.75, 0.6), 12, 18, belly)
    for side in (-1, 1):
        add((0.22 * side, 1.15, 0.47), (0.15, 0.17, 0.1), 6, 10, lambda middle: white)
        add((0.22 * side, 1.15, 0.56), (0.06, 0.07, 0.04), 4, 8, lambda middle: ink)
        add((0.3 * side, 0.08, 0.1), (0.2, 0.08, 0.3), 4, 10, lambda middle: brown, body=False)

    model = TextModel()
    rest = [vertex[:3] for part in parts for vertex in part[0].vertices()]
    for ellipsoid, colour, _ in parts:
        for corners in ellipsoid.polygons():
            corners = outward(corners, rest, ellipsoid.centre)
            middle = tuple(sum(rest[c][axis] for c in corners) / len(corners) for axis in range(3))
            model.add_polygon(colour(middle), corners)

    # One hop a loop: up while the sine is positive, squashed on landing.
    for frame in range(BLOB_FRAMES):
        phase = 2 * math.pi * (frame % (BLOB_FRAMES - 1)) / (BLOB_FRAMES - 1)
        lift = 0.45 * max(0.0, math.sin(phase))
        landing = max(0.0, -math.sin(phase))
        squash = (1 + 0.1 * landing, 1 - 0.18 * landing)
        vertices = []
        for ellipsoid, _, body in parts:
            vertices += ellipsoid.vertices(squash, lift) if body else ellipsoid.vertices()
        model.frames.append(vertices)
    return model


def yard_model():
    """Four walls round the yard and a tower on each corner, as boxes with flat faces."""
    model = TextModel()
    vertices = []

    def box(low, high, colour):
        centre = tuple((a + b) / 2 for a, b in zip(low, high))
        for axis in range(3):
            for side in (low[axis], high[axis]):
                u_axis, v_axis = [a for a in range(3) if a != axis]
                normal = [0.0, 0.0, 0.0]
                normal[axis] = 1.0 if side == high[axis] else -1.0
                first = len(vertices)
                uvs = []
                for du, dv in ((0, 0), (1, 0), (1, 1), (0, 1)):
                    point = [0.0, 0.0, 0.0]
                    point[axis] = side
                    point[u_axis] = (low, high)[du][u_axis]
                    point[v_axis] = (low, high)[dv][v_axis]
                    vertices.append(tuple(point) + tuple(normal))
                    # Bricks half a unit high: one picture every two units.
                    uvs.append(((point[0] + point[2]) / 2, point[1] / 2) if axis != 1 else (point[0] / 2, point[2] / 2))
                corners = list(range(first, first + 4))
                positions = {c: vertices[c][:3] for c in corners}
                ordered = outward(corners, positions, centre)
                model.add_polygon(colour, ordered, [uvs[c - first] for c in ordered])

    wall, tower, edge = (255, 255, 255), (200, 205, 230), YARD_HALF
    box((-edge, 0, -edge - 0.6), (edge, 2.5, -edge), wall)
    box((-edge, 0, edge), (edge, 2.5, edge + 0.6), wall)
    box((-edge - 0.6, 0, -edge), (-edge, 2.5, edge), wall)
    box((edge, 0, -edge), (edge + 0.6, 2.5, edge), wall)
    for x in (-1, 1):
        for z in (-1, 1):
            box((x * edge - 0.9, 0, z * edge - 0.9), (x * edge + 0.9, 3.5, z * edge + 0.9), tower)
    model.frames.append(vertices)
    return model


def floor_tile(path):
    """Four stone slabs with dark joints and a little grain."""
    picture = Picture(64, 64, (0, 0, 0))
    for y in range(64):
        for x in range(64):
            slab = (x // 32) + 2 * (y // 32)
            base = ((150, 160, 120), (140, 150, 115), (135, 145, 112), (155, 162, 124))[slab]
            grain = 0.9 + 0.1 * math.sin(x * 1.7 + y * 0.9) * math.cos(y * 2.3 - x * 0.4)
            joint = x % 32 in (0, 31) or y % 32 in (0, 31)
            picture.set(x, y, shade(base, 0.55 if joint else grain))
    picture.save_bmp(path)


def brick_tile(path):
    picture = Picture(64, 64, (0, 0, 0))
    for y in range(64):
        for x in range(64):
            row = y // 16
            mortar = y % 16 in (0, 15) or (x + (row % 2) * 16) % 32 in (0, 31)
            tint = 0.85 + 0.15 * math.sin(row * 2.1 + ((x + (row % 2) * 16) // 32) * 1.3)
            picture.set(x, y, (190, 185, 170) if mortar else shade((175, 90, 70), tint))
    picture.save_bmp(path)


def gradient(path, top, bottom, sparkle):
    """A 32 x 32 picture shading from top to bottom, with a bright diagonal streak."""
    picture = Picture(32, 32, top)
    for y in range(32):
        for x in range(32):
            colour = tuple(int(a + (b - a) * y / 31) for a, b in zip(top, bottom))
            if abs(x - y) < 3:
                colour = sparkle
            picture.set(x, y, colour)
    picture.save_bmp(path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    blob_model().save(os.path.join(folder, "blob.ddd"))
    yard_model().save(os.path.join(folder, "yard.ddd"))
    floor_tile(os.path.join(folder, "floor.bmp"))
    brick_tile(os.path.join(folder, "wall.bmp"))
    gradient(os.path.join(folder, "crystal.bmp"), (150, 220, 255), (40, 90, 200), (230, 250, 255))
    gradient(os.path.join(folder, "glint.bmp"), (255, 240, 120), (230, 130, 20), (255, 255, 230))


if __name__ == "__main__":
    main()
