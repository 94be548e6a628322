#include "gfx3d/mesh_object.h"

#include <cmath>
#include <cstring>

#include "gfx3d/normal_table.h"

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr float kShortestCounted = 1e-7f;

void CopyNormal(std::uint8_t index, float out[3]) {
  const float* entry = NormalTable[index < kNormalTableSize ? index : 0];
  out[0] = entry[0];
  out[1] = entry[1];
  out[2] = entry[2];
}

}  // namespace

std::uint32_t ColourAt(const MeshObject& object, std::uint32_t index) {
  return index < object.colourTable.size() ? object.colourTable[index] : kWhite;
}

void UnpackVertex(const MeshObject& object, const MeshFrame& frame, std::size_t index, MeshVertex& vertex) {
  std::memset(&vertex, 0, sizeof vertex);
  const PackedVertex& packed = frame.packedVertices[index];
  const std::uint8_t coordinates[3] = {packed.x, packed.y, packed.z};
  for (int axis = 0; axis < 3; ++axis) {
    vertex.position[axis] = (static_cast<float>(coordinates[axis]) - frame.offset[axis]) * frame.scale[axis];
  }
  CopyNormal(packed.normalIndex, vertex.normal);
  CopyNormal(packed.tangentIndex, vertex.tangent);
  CopyNormal(packed.bitangentIndex, vertex.bitangent);
  vertex.colour = ColourAt(object, packed.colourIndex);
  vertex.colourIndex = static_cast<std::int32_t>(packed.colourIndex);
  ColourComponents(vertex.colour, vertex.colourRGB);
  if (index < object.textureU.size()) vertex.texCoord[0] = object.textureU[index];
  if (index < object.textureV.size()) vertex.texCoord[1] = -object.textureV[index];
}

void ComputeBounds(MeshObject& object) {
  for (MeshFrame& frame : object.frames) {
    frame.centre[0] = frame.centre[1] = frame.centre[2] = 0;
    frame.boundingRadius = 0;
    const std::vector<MeshVertex>& vertices = frame.triangleVertices;
    if (vertices.empty()) continue;
    double sum[3] = {0, 0, 0};
    for (const MeshVertex& vertex : vertices) {
      for (int axis = 0; axis < 3; ++axis) sum[axis] += vertex.position[axis];
    }
    for (int axis = 0; axis < 3; ++axis) {
      frame.centre[axis] = static_cast<float>(sum[axis] / static_cast<double>(vertices.size()));
    }
    float largest = 0;
    for (const MeshVertex& vertex : vertices) {
      const float dx = vertex.position[0] - frame.centre[0];
      const float dy = vertex.position[1] - frame.centre[1];
      const float dz = vertex.position[2] - frame.centre[2];
      const float squared = dx * dx + dy * dy + dz * dz;
      if (squared > kShortestCounted && squared > largest) largest = squared;
    }
    frame.boundingRadius = std::sqrt(largest);
  }
}
