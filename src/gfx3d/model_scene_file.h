#pragma once
// Loading a scene file (see model_scene_description.h) into an object slot.

#include <cstdint>

#include "gfx3d/model_scene_description.h"

struct ObjectSlot;

// Marks the slot loaded as a scene and fills it: every texture decoded (BMP, else PNG,
// with colourKey) and uploaded, every model loaded with its two textures. A texture or
// model that fails leaves its entry empty. Always true.
bool LoadSceneFile(ObjectSlot& slot, const char* path, std::int32_t colourKey);
