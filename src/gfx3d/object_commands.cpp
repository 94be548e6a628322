#include "gfx3d/object_commands.h"

#include <cmath>
#include <string>

#include "base/engine_state.h"
#include "files/archive.h"
#include "gfx3d/engine3d.h"
#include "gfx3d/model_file.h"
#include "gfx3d/object_slots.h"
#include "video/renderer.h"

namespace {

constexpr int kTriangleValues = 9;

ObjectSlots* Slots() {
  FlushEngineQuadBatch();  // loading and building objects touch GL
  Diveduva3D* scene = Subsystems().scene;
  return scene ? &scene->objects : nullptr;
}

// A number truncated toward zero; -1 when it is no slot, frame or vertex number at all.
long long WholeNumber(double value) {
  if (!(std::fabs(value) < 9.0e18)) return -1;
  return static_cast<long long>(value);
}

// The colour argument as 32 bits (its integer part, wrapped).
std::uint32_t ColourOf(double value) {
  if (!(std::fabs(value) < 9.0e18)) return 0;
  return static_cast<std::uint32_t>(static_cast<long long>(value));
}

}  // namespace

double LoadObject(const BasicString& fileName, double slot) {
  ObjectSlots* slots = Slots();
  const long long number = WholeNumber(slot);
  if (slots == nullptr || !ObjectSlots::IsValidSlot(number)) return 0;
  std::string path;
  if (!ResolveLoaderPath(fileName.TextPointer(), path)) return 0;
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const std::int32_t colourKey = renderer ? renderer->textures.spriteKey : kDefaultSpriteKey;
  return LoadObjectSlot(*slots, static_cast<int>(number), path.c_str(), colourKey) ? 1 : 0;
}

double SaveObject(const BasicString& fileName, double slot) {
  ObjectSlots* slots = Slots();
  ObjectSlot* entry = slots ? slots->Find(WholeNumber(slot)) : nullptr;
  if (entry == nullptr || entry->objects.empty()) return 0;
  return SaveModelFile(*entry->objects[0], fileName.TextPointer()) ? 1 : 0;
}

void StartObject(double slot) {
  ObjectSlots* slots = Slots();
  const long long number = WholeNumber(slot);
  if (slots != nullptr && ObjectSlots::IsValidSlot(number)) StartObject(*slots, static_cast<int>(number), kGroupStrip);
}

void AddObjectVertex(double x, double y, double z, double u, double v, double colour) {
  if (ObjectSlots* slots = Slots()) {
    AddObjectVertex(*slots, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), static_cast<float>(u),
                    static_cast<float>(v), ColourOf(colour));
  }
}

void NewObjectStrip() {
  if (ObjectSlots* slots = Slots()) NewObjectGroup(*slots, kGroupStrip);
}

void EndObject() {
  FlushEngineQuadBatch();
  if (Diveduva3D* scene = Subsystems().scene) EndObject(scene->objects, scene->tangentSetting);
}

double CountObjectVertices(double slot) {
  ObjectSlots* slots = Slots();
  ObjectSlot* entry = slots ? slots->Find(WholeNumber(slot)) : nullptr;
  if (entry == nullptr) return 0;
  double count = 0;
  for (const auto& object : entry->objects) {
    if (!object->frames.empty()) count += static_cast<double>(object->frames[0].triangleVertices.size());
  }
  return count;
}

void GetObjectTriangle(double slot, double frame, double n, NumberArray& array) {
  DimArray(array, 3, kTriangleValues);
  ObjectSlots* slots = Slots();
  ObjectSlot* entry = slots ? slots->Find(WholeNumber(slot)) : nullptr;
  const long long frameNumber = WholeNumber(frame);
  const long long first = WholeNumber(n);
  if (entry == nullptr || frameNumber < 0 || first < 0) return;
  // Vertex numbers run through the objects in order; skip whole objects before n.
  long long skip = first;
  int stored = 0;
  for (const auto& object : entry->objects) {
    if (static_cast<std::size_t>(frameNumber) >= object->frames.size()) continue;
    const std::vector<MeshVertex>& vertices = object->frames[static_cast<std::size_t>(frameNumber)].triangleVertices;
    const long long size = static_cast<long long>(vertices.size());
    if (skip >= size) {
      skip -= size;
      continue;
    }
    for (long long i = skip; i < size && stored < 3; ++i, ++stored) {
      const MeshVertex& vertex = vertices[static_cast<std::size_t>(i)];
      const double values[kTriangleValues] = {vertex.position[0], vertex.position[1], vertex.position[2],
                                              vertex.texCoord[0], vertex.texCoord[1], static_cast<double>(vertex.colour),
                                              vertex.normal[0],   vertex.normal[1],   vertex.normal[2]};
      for (int k = 0; k < kTriangleValues; ++k) ArrayElement(array, stored, k) = values[k];
    }
    skip = 0;
    if (stored == 3) break;
  }
}
