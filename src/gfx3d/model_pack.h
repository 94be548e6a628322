#pragma once
// Packing: turns a mesh object held as full vertices into packed slots, frame by frame.
//
// Per frame the extent of the vertices that are colours gives each axis a scale
// (extent / 255, or 1 for a flat axis) and an offset (-min / scale), so coordinates
// become bytes 0..255. Colours go into the object's colour table (first occurrence
// wins), normals become the index of the nearest NormalTable entry, frame 0's texture
// coordinates become the object's lists, and the full vertices are emptied.

#include <unordered_map>

#include "gfx3d/mesh_object.h"

void PackMeshObject(MeshObject& object);

// Packs frames one at a time, so a loader can expand and pack each frame in turn and
// never hold every frame's full vertices at once. The result is that of PackMeshObject
// once every frame went through PackFrame in order and the caller cleared tangentsDone.
class MeshPacker {
 public:
  explicit MeshPacker(MeshObject& object);
  void PackFrame(std::size_t frameIndex);

 private:
  MeshObject& object_;
  std::unordered_map<std::uint32_t, std::uint32_t> colourIndexOf_;  // first table entry of each colour
};

// One coordinate in packed units: truncated, 255 from 255 up, 0 below 0 (and for NaN).
std::uint8_t PackCoordinate(float position, float scale, float offset);
