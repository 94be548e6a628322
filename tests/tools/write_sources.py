#!/usr/bin/python3
"""Writes 3D files of other formats for the converter tests.

usage: write_sources.py FOLDER

cube.obj (+ cube.mtl, checker.bmp): a unit cube, five faces red with a 3 x 2 checker
picture, the top face green. morph.gltf: a quad whose top edge a morph target lifts by 1
over one second. skin.gltf: the same quad on two joints; the upper joint rises by 2 over
one second. frames.md2: a triangle stored in two frames, the second moved up (z) by 4.
damaged.gltf: morph.gltf cut in half. empty.gltf: a valid file without meshes."""
import base64
import json
import struct
import sys
from pathlib import Path

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)

# The cube: corners 0..7, the top face (y = 1) last.
corners = [(x, y, z) for y in (0, 1) for z in (0, 1) for x in (0, 1)]
faces = [(0, 1, 3, 2), (0, 4, 5, 1), (2, 3, 7, 6), (0, 2, 6, 4), (1, 5, 7, 3)]
top = (4, 6, 7, 5)
obj = ["mtllib cube.mtl"] + [f"v {x} {y} {z}" for x, y, z in corners]
obj += ["vt 0 0", "vt 1 0", "vt 1 1", "vt 0 1", "usemtl red"]
obj += ["f " + " ".join(f"{c + 1}/{k + 1}" for k, c in enumerate(face)) for face in faces]
obj += ["usemtl green", "f " + " ".join(f"{c + 1}/{k + 1}" for k, c in enumerate(top))]
(out / "cube.obj").write_text("\n".join(obj) + "\n")
(out / "cube.mtl").write_text("newmtl red\nKd 1 0 0\nmap_Kd checker.bmp\nnewmtl green\nKd 0 1 0\n")

# 24-bit BMP, 3 x 2, bottom row first: top row red, white, red; bottom row blue, blue, blue.
rows = [[(0, 0, 255)] * 3, [(255, 0, 0), (255, 255, 255), (255, 0, 0)]]  # bottom first, as RGB
pixels = b"".join(b"".join(bytes((b, g, r)) for r, g, b in row) + b"\0" * 3 for row in rows)
(out / "checker.bmp").write_bytes(b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
                                  struct.pack("<IiiHHIIiiII", 40, 3, 2, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels)


class Gltf:
    def __init__(self):
        self.data = b""
        self.doc = {"asset": {"version": "2.0"}, "buffers": [], "bufferViews": [], "accessors": []}

    def accessor(self, fmt, component, kind, values, with_bounds=False):
        size = {"SCALAR": 1, "VEC3": 3, "VEC4": 4, "MAT4": 16}[kind]
        raw = b"".join(struct.pack("<" + fmt * size, *(v if size > 1 else (v,))) for v in values)
        self.doc["bufferViews"].append({"buffer": 0, "byteOffset": len(self.data), "byteLength": len(raw)})
        self.data += raw + b"\0" * (-len(raw) % 4)
        accessor = {"bufferView": len(self.doc["bufferViews"]) - 1, "componentType": component,
                    "count": len(values), "type": kind}
        if with_bounds:
            accessor["min"] = [min(v[i] for v in values) for i in range(3)]
            accessor["max"] = [max(v[i] for v in values) for i in range(3)]
        self.doc["accessors"].append(accessor)
        return len(self.doc["accessors"]) - 1

    def text(self):
        uri = "data:application/octet-stream;base64," + base64.b64encode(self.data).decode()
        self.doc["buffers"] = [{"byteLength": len(self.data), "uri": uri}]
        return json.dumps(self.doc)


QUAD = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]
BLUE = {"pbrMetallicRoughness": {"baseColorFactor": [0, 0, 1, 1]}}

morph = Gltf()
position = morph.accessor("f", 5126, "VEC3", QUAD, True)
indices = morph.accessor("H", 5123, "SCALAR", [0, 1, 2, 0, 2, 3])
lift = morph.accessor("f", 5126, "VEC3", [(0, 0, 0), (0, 0, 0), (0, 1, 0), (0, 1, 0)], True)
times = morph.accessor("f", 5126, "SCALAR", [0, 1])
morph.doc["accessors"][times].update({"min": [0], "max": [1]})
weights = morph.accessor("f", 5126, "SCALAR", [0, 1])
morph.doc.update({
    "materials": [BLUE],
    "meshes": [{"name": "quad", "weights": [0], "primitives": [
        {"attributes": {"POSITION": position}, "indices": indices, "targets": [{"POSITION": lift}], "material": 0}]}],
    "nodes": [{"name": "quad", "mesh": 0}], "scenes": [{"nodes": [0]}], "scene": 0,
    "animations": [{"name": "lift", "channels": [{"sampler": 0, "target": {"node": 0, "path": "weights"}}],
                    "samplers": [{"input": times, "output": weights, "interpolation": "LINEAR"}]}]})
morph_text = morph.text()
(out / "morph.gltf").write_text(morph_text)
(out / "damaged.gltf").write_text(morph_text[: len(morph_text) // 2])
(out / "empty.gltf").write_text(json.dumps({"asset": {"version": "2.0"}, "nodes": [{"name": "nothing"}],
                                            "scenes": [{"nodes": [0]}], "scene": 0}))

skin = Gltf()
position = skin.accessor("f", 5126, "VEC3", QUAD, True)
indices = skin.accessor("H", 5123, "SCALAR", [0, 1, 2, 0, 2, 3])
joints = skin.accessor("B", 5121, "VEC4", [(0, 0, 0, 0), (0, 0, 0, 0), (1, 0, 0, 0), (1, 0, 0, 0)])
bone_weights = skin.accessor("f", 5126, "VEC4", [(1, 0, 0, 0)] * 4)
identity = (1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)
down = (1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1)  # column-major: translation (0, -1, 0)
inverse_binds = skin.accessor("f", 5126, "MAT4", [identity, down])
times = skin.accessor("f", 5126, "SCALAR", [0, 1])
skin.doc["accessors"][times].update({"min": [0], "max": [1]})
rise = skin.accessor("f", 5126, "VEC3", [(0, 1, 0), (0, 3, 0)])
skin.doc.update({
    "materials": [BLUE],
    "meshes": [{"name": "quad", "primitives": [
        {"attributes": {"POSITION": position, "JOINTS_0": joints, "WEIGHTS_0": bone_weights}, "indices": indices,
         "material": 0}]}],
    "nodes": [{"name": "body", "mesh": 0, "skin": 0}, {"name": "root", "children": [2]},
              {"name": "tip", "translation": [0, 1, 0]}],
    "skins": [{"joints": [1, 2], "inverseBindMatrices": inverse_binds, "skeleton": 1}],
    "scenes": [{"nodes": [0, 1]}], "scene": 0,
    "animations": [{"name": "rise", "channels": [{"sampler": 0, "target": {"node": 2, "path": "translation"}}],
                    "samplers": [{"input": times, "output": rise, "interpolation": "LINEAR"}]}]})
(out / "skin.gltf").write_text(skin.text())

# MD2: header of 17 i32 after the magic, then texture coordinates, triangles and frames
# (scale, translate, 16-byte name, per vertex x, y, z bytes and a normal index).
vertices = [(0, 0, 0), (10, 0, 0), (0, 0, 10)]
frame_size = 40 + 4 * len(vertices)
st = struct.pack("<6h", 0, 0, 2, 0, 0, 2)
tris = struct.pack("<6h", 0, 1, 2, 0, 1, 2)
frames = b""
for lift_by in (0, 4):
    frames += struct.pack("<3f3f16s", 1, 1, 1, 0, 0, lift_by, b"frame")
    frames += b"".join(struct.pack("<4B", x, y, z, 0) for x, y, z in vertices)
ofs_st = 68
ofs_tris = ofs_st + len(st)
ofs_frames = ofs_tris + len(tris)
ofs_commands = ofs_frames + len(frames)
commands = struct.pack("<i", 0)  # an empty list of drawing commands
header = b"IDP2" + struct.pack("<16i", 8, 2, 2, frame_size, 0, len(vertices), 3, 1, 1, 2,
                               68, ofs_st, ofs_tris, ofs_frames, ofs_commands, ofs_commands + len(commands))
(out / "frames.md2").write_bytes(header + st + tris + frames + commands)
