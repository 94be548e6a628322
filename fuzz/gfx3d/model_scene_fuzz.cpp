// Fuzzes the scene description: the input is the whole scene file.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gfx3d/model_scene_description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const SceneDescription scene = ParseSceneDescription(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const SceneModelEntry& model : scene.models) {
    if (model.textureA < 0 || model.textureB < 0) std::abort();
  }
  if (scene.models.size() > kMaxSceneEntries || scene.texturePaths.size() > kMaxSceneEntries) std::abort();
  return 0;
}
