// MeshObjectX: building the triangle lists from the packed slots.
#include "gfx3d/mesh_object.h"

namespace {

enum class GroupMode { kList, kStrip, kFan };

// The number of triangle vertices the walk below makes, so the list is allocated once:
// a list group of n slots gives n / 3 triangles, a strip or fan n - 2.
std::size_t CountTriangleVertices(const MeshObject& object, const MeshFrame& frame) {
  std::size_t triangles = 0;
  std::size_t filled = 0;
  bool list = true;
  auto endGroup = [&] { triangles += list ? filled / 3 : (filled > 2 ? filled - 2 : 0); };
  for (const PackedVertex& packed : frame.packedVertices) {
    const std::uint32_t colour = ColourAt(object, packed.colourIndex);
    if (IsGroupMarker(colour)) {
      endGroup();
      list = colour == kListMarker;
      filled = 0;
    } else {
      ++filled;
    }
  }
  endGroup();
  return triangles * 3;
}

void BuildFrameTriangles(const MeshObject& object, MeshFrame& frame) {
  std::vector<MeshVertex>& triangles = frame.triangleVertices;
  triangles.clear();
  triangles.reserve(CountTriangleVertices(object, frame));
  GroupMode mode = GroupMode::kList;
  int filled = 0;
  int parity = 0;
  MeshVertex working[3];
  for (std::size_t index = 0; index < frame.packedVertices.size(); ++index) {
    const std::uint32_t colour = ColourAt(object, frame.packedVertices[index].colourIndex);
    if (colour == kListMarker) {
      mode = GroupMode::kList;
      filled = 0;
      continue;
    }
    if (colour == kStripMarker) {
      mode = GroupMode::kStrip;
      filled = 0;
      parity = 0;
      continue;
    }
    if (colour == kFanMarker) {
      mode = GroupMode::kFan;
      filled = 0;
      continue;
    }
    UnpackVertex(object, frame, index, working[filled]);
    if (++filled < 3) continue;
    triangles.push_back(working[0]);
    triangles.push_back(working[1]);
    triangles.push_back(working[2]);
    switch (mode) {
      case GroupMode::kList:
        filled = 0;
        break;
      case GroupMode::kFan:
        filled = 2;
        working[1] = working[2];
        break;
      case GroupMode::kStrip:
        // Alternate triangles swap their first two corners so every triangle of the
        // strip keeps the same winding.
        filled = 2;
        if (parity == 0) {
          working[0] = working[2];
        } else {
          working[1] = working[2];
        }
        parity ^= 1;
        break;
    }
  }
}

}  // namespace

void MeshObjectX::BuildTriangles() {
  for (MeshFrame& frame : frames) BuildFrameTriangles(*this, frame);
  currentVertices.clear();
  if (!frames.empty()) currentVertices = frames[0].triangleVertices;
  hasColours = false;
  for (std::uint32_t colour : colourTable) {
    if (!IsGroupMarker(colour) && colour != 0x00FFFFFF) hasColours = true;
  }
}
