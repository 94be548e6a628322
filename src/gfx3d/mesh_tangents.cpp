#include "gfx3d/mesh_tangents.h"

#include <cmath>
#include <unordered_map>

#include "gfx3d/normal_table.h"

namespace {

// A triangle whose texture-coordinate determinant is this small has no usable tangent
// direction; it adds nothing to the sums of its corners.
constexpr float kSmallestDeterminant = 1e-5f;

struct Sums {
  float normal[3] = {0, 0, 0};
  float tangent[3] = {0, 0, 0};
  float bitangent[3] = {0, 0, 0};
};

void Add(float sum[3], const float value[3]) {
  sum[0] += value[0];
  sum[1] += value[1];
  sum[2] += value[2];
}

void Subtract(const float a[3], const float b[3], float out[3]) {
  out[0] = a[0] - b[0];
  out[1] = a[1] - b[1];
  out[2] = a[2] - b[2];
}

void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

std::uint8_t Nearest(float vector[3]) {
  NormaliseIfLong(vector);
  return NearestNormalIndex(vector);
}

void ProcessFrame(const MeshObject& object, MeshFrame& frame, bool tangents, bool normals, bool weld) {
  const std::size_t count = frame.packedVertices.size();
  std::vector<MeshVertex> unpacked(count);
  std::vector<std::uint32_t> sumOf(count);
  std::vector<Sums> sums;
  std::unordered_map<std::uint32_t, std::uint32_t> byPosition;
  for (std::size_t i = 0; i < count; ++i) {
    UnpackVertex(object, frame, i, unpacked[i]);
    if (weld) {
      const PackedVertex& packed = frame.packedVertices[i];
      const std::uint32_t key = packed.x | (packed.y << 8) | (static_cast<std::uint32_t>(packed.z) << 16);
      auto [entry, added] = byPosition.try_emplace(key, static_cast<std::uint32_t>(sums.size()));
      if (added) sums.emplace_back();
      sumOf[i] = entry->second;
    } else {
      sumOf[i] = static_cast<std::uint32_t>(sums.size());
      sums.emplace_back();
    }
  }

  bool isStrip = false;
  bool isList = true;
  int filled = 0;
  int parity = 0;
  std::size_t corner[3] = {0, 0, 0};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t colour = unpacked[i].colour;
    if (IsGroupMarker(colour)) {
      isStrip = colour == kStripMarker;
      isList = colour == kListMarker;
      filled = 0;
      parity = 0;
      continue;
    }
    corner[filled++] = i;
    if (filled < 3) continue;
    const MeshVertex& p0 = unpacked[corner[0]];
    const MeshVertex& p1 = unpacked[corner[1]];
    const MeshVertex& p2 = unpacked[corner[2]];
    float e1[3];
    float e2[3];
    Subtract(p1.position, p0.position, e1);
    Subtract(p2.position, p0.position, e2);
    if (normals) {
      float face[3];
      float e21[3];
      Subtract(p2.position, p1.position, e21);
      Cross(e21, e1, face);
      if (isStrip && parity == 0) {
        face[0] = -face[0];
        face[1] = -face[1];
        face[2] = -face[2];
      }
      for (std::size_t c : corner) Add(sums[sumOf[c]].normal, face);
    }
    if (tangents) {
      const float du1 = p1.texCoord[0] - p0.texCoord[0];
      const float dv1 = p1.texCoord[1] - p0.texCoord[1];
      const float du2 = p2.texCoord[0] - p0.texCoord[0];
      const float dv2 = p2.texCoord[1] - p0.texCoord[1];
      const float den = du1 * dv2 - dv1 * du2;
      if (std::fabs(den) > kSmallestDeterminant) {
        float tangent[3];
        float bitangent[3];
        for (int axis = 0; axis < 3; ++axis) {
          tangent[axis] = (dv2 * e1[axis] - dv1 * e2[axis]) / den;
          bitangent[axis] = (du1 * e2[axis] - du2 * e1[axis]) / den;
        }
        for (std::size_t c : corner) {
          Add(sums[sumOf[c]].tangent, tangent);
          Add(sums[sumOf[c]].bitangent, bitangent);
        }
      }
    }
    // Lists start over; strips and fans go on with the last two corners as the first two.
    if (isList) {
      filled = 0;
    } else {
      corner[0] = corner[1];
      corner[1] = corner[2];
      filled = 2;
      parity ^= 1;
    }
  }

  for (std::size_t i = 0; i < count; ++i) {
    PackedVertex& packed = frame.packedVertices[i];
    Sums sum = sums[sumOf[i]];
    if (normals) packed.normalIndex = Nearest(sum.normal);
    if (tangents) {
      packed.tangentIndex = Nearest(sum.tangent);
      packed.bitangentIndex = Nearest(sum.bitangent);
    }
  }
}

}  // namespace

void ComputeTangents(MeshObject& object, bool tangents, bool normals, bool weld) {
  if (object.frames.empty() || object.frames[0].packedVertices.empty()) return;
  if (object.tangentsDone) tangents = false;
  const PackedVertex& first = object.frames[0].packedVertices[0];
  if (first.tangentIndex != 0 || first.bitangentIndex != 0) weld = false;
  if (!tangents && !weld) return;
  object.tangentsDone = true;
  for (MeshFrame& frame : object.frames) ProcessFrame(object, frame, tangents, normals, weld);
}
