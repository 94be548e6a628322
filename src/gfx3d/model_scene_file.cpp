#include "gfx3d/model_scene_file.h"

#include <memory>
#include <optional>

#include "files/archive.h"
#include "files/plain_file.h"
#include "gfx2d/bmp_reader.h"
#include "gfx2d/png_reader.h"
#include "gfx2d/texture_loading.h"
#include "gfx3d/model_file.h"
#include "gfx3d/object_slots.h"

namespace {

GlTexture LoadSceneTexture(const std::string& path, std::int32_t colourKey) {
  GlTexture texture;
  std::string resolved;
  if (!ResolveLoaderPath(path.c_str(), resolved)) return texture;
  ImageBuffer image;
  if (!LoadBmp(resolved.c_str(), colourKey, image) && !LoadPng(resolved.c_str(), colourKey, image)) return texture;
  UploadImage(image, 0, 0, 0, 0, &texture, nullptr, false, false);
  return texture;
}

}  // namespace

bool LoadSceneFile(ObjectSlot& slot, const char* path, std::int32_t colourKey) {
  slot.loaded = 1;
  slot.isScene = 1;
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return true;
  const SceneDescription scene = ParseSceneDescription(*text);
  const std::string folder = SceneFolder(path);
  for (const std::string& texturePath : scene.texturePaths) {
    slot.textures.push_back(texturePath.empty() ? GlTexture() : LoadSceneTexture(folder + texturePath, colourKey));
  }
  for (const SceneModelEntry& model : scene.models) {
    auto object = std::make_unique<MeshObjectX>();
    std::string resolved;
    if (!model.path.empty() && ResolveLoaderPath((folder + model.path).c_str(), resolved)) {
      LoadModelFile(*object, resolved.c_str(), false);
    }
    object->textureA = model.textureA;
    object->textureB = model.textureB;
    slot.objects.push_back(std::move(object));
  }
  return true;
}
