#pragma once
// The 3D scene's 4096 object slots and the object built vertex by vertex.
//
// A slot is empty, under construction (between StartObject and EndObject), loaded with
// one object (a model file or a built object) or loaded as a scene (several objects and
// their textures). Loading or starting a slot always frees what it held.

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx3d/mesh_object.h"
#include "video/gl_texture.h"

inline constexpr int kObjectSlotCount = 4096;

// Group types of StartObject and NewObjectGroup; any other value starts a strip.
inline constexpr int kGroupList = 0;
inline constexpr int kGroupStrip = 1;
inline constexpr int kGroupFan = 2;

struct ObjectSlot {
  std::uint8_t loaded = 0;
  std::uint8_t isScene = 0;
  std::vector<std::unique_ptr<MeshObjectX>> objects;
  std::vector<GlTexture> textures;  // scene slots only; none where a picture did not load
};

class ObjectSlots {
 public:
  ObjectSlots();
  // Frees every slot (their GL names while a context exists).
  ~ObjectSlots();
  ObjectSlots(const ObjectSlots&) = delete;
  ObjectSlots& operator=(const ObjectSlots&) = delete;

  static bool IsValidSlot(long long slot) { return slot >= 0 && slot < kObjectSlotCount; }
  // The slot numbered slot, or null outside 0..4095.
  ObjectSlot* Find(long long slot);

  std::vector<ObjectSlot> slots;
  int underConstruction = -1;  // slot of the object being built, -1 when none
};

// Clears and drops the slot's objects, deletes its textures and marks it empty.
void FreeObjectSlot(ObjectSlots& table, int slot);

// Frees the slot, then loads the file at path (already resolved): a file starting with
// ";DDW" as a scene, anything else as one model. A model counts only when it has a
// frame with at least one packed slot; otherwise the slot stays empty and the result is
// false. On success triangles and bounds are built for every object.
bool LoadObjectSlot(ObjectSlots& table, int slot, const char* path, std::int32_t colourKey);

// Frees the slot, gives it one object with one empty frame, makes it the object under
// construction and starts a group of groupType.
void StartObject(ObjectSlots& table, int slot, int groupType);
// Appends a vertex to frame 0 of the object under construction (ignored when none):
// position, u, v, colour and its components; every other field 0.
void AddObjectVertex(ObjectSlots& table, float x, float y, float z, float u, float v, std::uint32_t colour);
// Appends a group marker: list for 0, fan for 2, strip for anything else.
void NewObjectGroup(ObjectSlots& table, int groupType);
// Finishes the object under construction: the slot is loaded; an object with more than
// two vertices is packed, gets tangents when tangentSetting is 1 or 2 (normals too with
// 2), triangles and bounds; a smaller one is cleared.
void EndObject(ObjectSlots& table, int tangentSetting);
// A white cube of edge size centred on the origin, built as one strip.
void CreateCubeObject(ObjectSlots& table, int slot, float size, int tangentSetting);
