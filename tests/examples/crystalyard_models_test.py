#!/usr/bin/env python3
"""The models Crystal Yard's make_assets.py writes: text model files the engine reads,
every part closed and wound counter-clockwise seen from outside (what the shadow volumes
and the culled drawing rely on), and a hop that loops. Usage: crystalyard_models_test.py
EXAMPLE_DIR"""

import collections
import os
import subprocess
import sys
import tempfile
import unittest

EXAMPLE_DIR = sys.argv.pop(1)


def read_model(path):
    """(polygons as vertex-index lists, frames as lists of (x, y, z)) of a DDDA file."""
    with open(path) as file:
        words = file.read().split()
    assert words[0] == "DDDA" and float(words[1]) == 1.1, "not a version 1.1 text model"
    numbers = iter(float(word) for word in words[2:])
    for _ in range(2 * int(next(numbers))):
        next(numbers)
    polygons = []
    for _ in range(int(next(numbers))):
        for _ in range(3):
            next(numbers)  # red, green, blue
        corners = [(int(next(numbers)), int(next(numbers))) for _ in range(int(next(numbers)))]
        polygons.append([vertex for vertex, _ in corners])
    frames = []
    for _ in range(int(next(numbers))):
        vertices = [tuple(next(numbers) for _ in range(6)) for _ in range(int(next(numbers)))]
        frames.append([vertex[:3] for vertex in vertices])
    assert next(numbers, None) is None, "numbers left over"
    return polygons, frames


class CrystalYardModels(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        subprocess.run([sys.executable, os.path.join(EXAMPLE_DIR, "make_assets.py"), cls.folder.name], check=True)
        cls.models = {name: read_model(os.path.join(cls.folder.name, name)) for name in ("blob.ddd", "yard.ddd")}

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_every_edge_is_met_once_in_each_direction(self):
        # Keyed by position, as the engine links shadow edges: a hole or a polygon wound
        # the wrong way leaves an edge without its opposite.
        for name, (polygons, frames) in self.models.items():
            for frame in frames:
                edges = collections.Counter()
                for polygon in polygons:
                    points = [tuple(round(v, 4) for v in frame[i]) for i in polygon]
                    for a, b in zip(points, points[1:] + points[:1]):
                        edges[a, b] += 1
                unmatched = [edge for edge, count in edges.items() if edges[edge[1], edge[0]] != count]
                self.assertEqual(unmatched, [], name)

    def test_polygons_face_outwards(self):
        # The enclosed volume, summed over fan triangles, is positive only when the
        # corners run counter-clockwise seen from outside.
        for name, (polygons, frames) in self.models.items():
            volume = 0.0
            for polygon in polygons:
                p = [frames[0][i] for i in polygon]
                for b, c in zip(p[1:], p[2:]):
                    a = p[0]
                    volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0])
                               + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6
            self.assertGreater(volume, 0, name)

    def test_the_hop_loops_and_moves(self):
        polygons, frames = self.models["blob.ddd"]
        self.assertEqual(len(frames), 9)
        self.assertEqual(frames[8], frames[0])
        top = [max(vertex[1] for vertex in frame) for frame in frames]
        self.assertGreater(max(top) - top[0], 0.3)
        self.assertTrue(all(0 <= i < len(frames[0]) for polygon in polygons for i in polygon))


if __name__ == "__main__":
    unittest.main()
