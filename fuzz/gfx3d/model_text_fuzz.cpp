// Fuzzes the text model reader: the input is the whole file. A model that reads is
// expanded and packed, then built into triangles and bounds.

#include <cstdint>
#include <span>

#include "gfx3d/mesh_tangents.h"
#include "gfx3d/model_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TextModel model;
  if (!LoadTextModel(std::span<const std::uint8_t>(data, size), model)) return 0;
  MeshObjectX object;
  if (ExpandTextModel(model, object) != TextExpandStatus::kExpanded) return 0;
  object.BuildTriangles();
  ComputeBounds(object);
  ComputeTangents(object, true, true, false);
  return 0;
}
