#include "gfx3d/object_slots.h"

#include <cstring>

#include "base/engine_state.h"
#include "files/plain_file.h"
#include "gfx3d/mesh_tangents.h"
#include "gfx3d/model_file.h"
#include "gfx3d/model_pack.h"
#include "gfx3d/model_scene_file.h"
#include "video/renderer.h"

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

std::uint32_t MarkerOf(int groupType) {
  if (groupType == kGroupList) return kListMarker;
  if (groupType == kGroupFan) return kFanMarker;
  return kStripMarker;
}

// The object under construction, or null.
MeshObjectX* ObjectUnderConstruction(ObjectSlots& table) {
  ObjectSlot* slot = table.Find(table.underConstruction);
  if (slot == nullptr || slot->objects.empty() || slot->objects[0]->frames.empty()) return nullptr;
  return slot->objects[0].get();
}

void AppendVertex(MeshObjectX& object, float x, float y, float z, float u, float v, std::uint32_t colour) {
  MeshVertex& vertex = object.frames[0].fullVertices.emplace_back();
  std::memset(&vertex, 0, sizeof vertex);
  vertex.position[0] = x;
  vertex.position[1] = y;
  vertex.position[2] = z;
  vertex.texCoord[0] = u;
  vertex.texCoord[1] = v;
  vertex.colour = colour;
  ColourComponents(colour, vertex.colourRGB);
}

bool IsSceneFile(const char* path) {
  FileHandle file = OpenFileForReading(path);
  char head[4] = {};
  return file.IsOpen() && ReadFully(file.Descriptor(), head, sizeof head) == sizeof head &&
         std::memcmp(head, kSceneFileTag, sizeof head) == 0;
}

bool HasPackedSlot(const MeshObjectX& object) {
  return !object.frames.empty() && !object.frames[0].packedVertices.empty();
}

}  // namespace

ObjectSlots::ObjectSlots() : slots(kObjectSlotCount) {}

ObjectSlots::~ObjectSlots() {
  for (int slot = 0; slot < kObjectSlotCount; ++slot) FreeObjectSlot(*this, slot);
}

ObjectSlot* ObjectSlots::Find(long long slot) { return IsValidSlot(slot) ? &slots[static_cast<std::size_t>(slot)] : nullptr; }

void FreeObjectSlot(ObjectSlots& table, int slot) {
  ObjectSlot& entry = table.slots[static_cast<std::size_t>(slot)];
  for (std::unique_ptr<MeshObjectX>& object : entry.objects) ClearObject(*object, true);
  entry.objects.clear();
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const bool glReady = renderer != nullptr && renderer->glReady;
  for (GlTexture& texture : entry.textures) {
    if (glReady) {
      texture.Reset();
    } else {
      texture.Release();
    }
  }
  entry.textures.clear();
  entry.loaded = 0;
  entry.isScene = 0;
  // A slot freed while its object is being built ends the building: later vertices are
  // dropped instead of reaching a slot that holds something else.
  if (table.underConstruction == slot) table.underConstruction = -1;
}

bool LoadObjectSlot(ObjectSlots& table, int slot, const char* path, std::int32_t colourKey) {
  FreeObjectSlot(table, slot);
  ObjectSlot& entry = table.slots[static_cast<std::size_t>(slot)];
  if (IsSceneFile(path)) {
    LoadSceneFile(entry, path, colourKey);
  } else {
    auto object = std::make_unique<MeshObjectX>();
    if (!LoadModelFile(*object, path, false) || !HasPackedSlot(*object)) {
      ClearObject(*object, true);
      return false;
    }
    entry.objects.push_back(std::move(object));
    entry.loaded = 1;
  }
  for (std::unique_ptr<MeshObjectX>& object : entry.objects) {
    object->BuildTriangles();
    ComputeBounds(*object);
  }
  return true;
}

void StartObject(ObjectSlots& table, int slot, int groupType) {
  FreeObjectSlot(table, slot);
  ObjectSlot& entry = table.slots[static_cast<std::size_t>(slot)];
  entry.objects.push_back(std::make_unique<MeshObjectX>());
  entry.objects[0]->frames.emplace_back();
  table.underConstruction = slot;
  NewObjectGroup(table, groupType);
}

void AddObjectVertex(ObjectSlots& table, float x, float y, float z, float u, float v, std::uint32_t colour) {
  MeshObjectX* object = ObjectUnderConstruction(table);
  if (object != nullptr) AppendVertex(*object, x, y, z, u, v, colour);
}

void NewObjectGroup(ObjectSlots& table, int groupType) {
  MeshObjectX* object = ObjectUnderConstruction(table);
  if (object != nullptr) AppendVertex(*object, 0, 0, 0, 0, 0, MarkerOf(groupType));
}

void EndObject(ObjectSlots& table, int tangentSetting) {
  ObjectSlot* slot = table.Find(table.underConstruction);
  table.underConstruction = -1;
  if (slot == nullptr) return;
  slot->loaded = 1;
  slot->isScene = 0;
  for (std::unique_ptr<MeshObjectX>& object : slot->objects) {
    if (object->frames.empty() || object->frames[0].fullVertices.size() <= 2) {
      ClearObject(*object, false);
      continue;
    }
    PackMeshObject(*object);
    if (tangentSetting == 1 || tangentSetting == 2) ComputeTangents(*object, true, tangentSetting == 2, false);
    object->BuildTriangles();
    ComputeBounds(*object);
  }
}

void CreateCubeObject(ObjectSlots& table, int slot, float size, int tangentSetting) {
  // Fourteen corners in one strip cover all six faces: each corner index is a bit
  // pattern (x, y, z) of the cube, -h or +h.
  static constexpr int kStripCorners[14] = {6, 7, 2, 3, 1, 7, 5, 6, 4, 2, 0, 1, 4, 5};
  const float h = size / 2;
  StartObject(table, slot, kGroupStrip);
  for (int corner : kStripCorners) {
    const float x = (corner & 1) ? h : -h;
    const float y = (corner & 2) ? h : -h;
    const float z = (corner & 4) ? h : -h;
    AddObjectVertex(table, x, y, z, (corner & 1) ? 1.0f : 0.0f, (corner & 2) ? 1.0f : 0.0f, kWhite);
  }
  EndObject(table, tangentSetting);
}
