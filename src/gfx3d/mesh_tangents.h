#pragma once
// Recomputing per-vertex normals, tangents and bitangents of a mesh object from its
// triangles, stored as NormalTable indices in the packed slots.

#include "gfx3d/mesh_object.h"

// tangents: compute tangent and bitangent from the texture coordinates (dropped when the
// object's tangents are already done); normals: compute normals from the faces; weld:
// slots with the same packed coordinates share their sums (dropped when the first slot
// already has a tangent or bitangent). With neither tangents nor weld left nothing
// happens; otherwise tangentsDone is set. Indices not computed keep their values.
void ComputeTangents(MeshObject& object, bool tangents, bool normals, bool weld);
