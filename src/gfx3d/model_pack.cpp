#include "gfx3d/model_pack.h"

#include "gfx3d/normal_table.h"

namespace {

void PackFrame(MeshObject& object, MeshFrame& frame, bool firstFrame,
               std::unordered_map<std::uint32_t, std::uint32_t>& colourIndexOf) {
  // Colours are looked up by value and the first entry of a value wins, so a hash map
  // gives the table a linear search would, without its quadratic cost.
  float low[3] = {0, 0, 0};
  float high[3] = {0, 0, 0};
  bool any = false;
  for (const MeshVertex& vertex : frame.fullVertices) {
    if (IsNonColour(vertex.colour)) continue;
    for (int axis = 0; axis < 3; ++axis) {
      const float p = vertex.position[axis];
      if (!any || p < low[axis]) low[axis] = p;
      if (!any || p > high[axis]) high[axis] = p;
    }
    any = true;
  }
  for (int axis = 0; axis < 3; ++axis) {
    float scale = (high[axis] - low[axis]) / 255.0f;
    if (scale == 0.0f) scale = 1.0f;
    frame.scale[axis] = scale;
    frame.offset[axis] = -low[axis] / scale;
  }

  frame.packedVertices.reserve(frame.packedVertices.size() + frame.fullVertices.size());
  PackedVertex previous;
  for (MeshVertex& vertex : frame.fullVertices) {
    auto [entry, added] =
        colourIndexOf.try_emplace(vertex.colour, static_cast<std::uint32_t>(object.colourTable.size()));
    if (added) object.colourTable.push_back(vertex.colour);
    PackedVertex packed;
    if (IsGroupMarker(vertex.colour)) {
      // A marker never draws; it takes the place of the slot before it.
      packed.x = previous.x;
      packed.y = previous.y;
      packed.z = previous.z;
      packed.normalIndex = previous.normalIndex;
    } else {
      NormaliseIfLong(vertex.normal);
      packed.normalIndex = NearestNormalIndex(vertex.normal);
      std::uint8_t* coordinates[3] = {&packed.x, &packed.y, &packed.z};
      for (int axis = 0; axis < 3; ++axis) {
        // The frame maximum is 255 exactly; rounding in the division must not make it 254.
        const float p = vertex.position[axis];
        *coordinates[axis] = p == high[axis] && high[axis] > low[axis] ? 255 : PackCoordinate(p, frame.scale[axis], frame.offset[axis]);
      }
    }
    if (firstFrame) {
      object.textureU.push_back(vertex.texCoord[0]);
      object.textureV.push_back(vertex.texCoord[1]);
    }
    packed.colourIndex = entry->second;
    frame.packedVertices.push_back(packed);
    previous = packed;
  }
  frame.fullVertices.clear();
}

}  // namespace

std::uint8_t PackCoordinate(float position, float scale, float offset) {
  const double value = static_cast<double>(position) / scale + offset;
  if (value >= 255.0) return 255;
  if (!(value >= 0.0)) return 0;
  return static_cast<std::uint8_t>(value);
}

MeshPacker::MeshPacker(MeshObject& object) : object_(object) {
  for (std::uint32_t i = 0; i < object.colourTable.size(); ++i) colourIndexOf_.try_emplace(object.colourTable[i], i);
}

void MeshPacker::PackFrame(std::size_t frameIndex) {
  ::PackFrame(object_, object_.frames[frameIndex], frameIndex == 0, colourIndexOf_);
}

void PackMeshObject(MeshObject& object) {
  MeshPacker packer(object);
  for (std::size_t f = 0; f < object.frames.size(); ++f) packer.PackFrame(f);
  object.tangentsDone = false;
}
