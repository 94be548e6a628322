#include "gfx3d/cel_shading.h"

#include <algorithm>

#include "gfx2d/drawing_state.h"
#include "gfx3d/scene_camera.h"

namespace {

constexpr int kNarrowestCel = 64;
constexpr int kWidestCel = 512;
constexpr int kTallestDoubling = 32767;
constexpr int kColumnsPerRampEntry = 4;

}  // namespace

std::vector<std::uint8_t> CelTexels(const std::vector<std::uint8_t>& ramp, const MeshObject& object, int& width,
                                    int& height) {
  const int colours = static_cast<int>(std::min<std::size_t>(object.colourTable.size(), kTallestDoubling + 1));
  height = 1;
  while (height < colours) {
    height *= 2;
    if (height > kTallestDoubling) {
      height = colours;
      break;
    }
  }
  width = kNarrowestCel;
  const int rampLength = ramp.empty() ? 1 : static_cast<int>(ramp.size());
  while (width < kColumnsPerRampEntry * rampLength && width < kWidestCel) width *= 2;
  std::vector<std::uint8_t> texels(static_cast<std::size_t>(width) * height * 4);
  for (int i = 0; i < height; ++i) {
    const std::uint32_t colour = ColourAt(object, i < colours ? static_cast<std::uint32_t>(i) : 0);
    for (int j = 0; j < width; ++j) {
      const int level = ramp.empty() ? 255 : ramp[static_cast<std::size_t>(j) * rampLength / width];
      std::uint8_t* texel = &texels[(static_cast<std::size_t>(i) * width + j) * 4];
      for (int c = 0; c < 3; ++c) {
        const int component = IsNonColour(colour) ? 255 : static_cast<int>((colour >> (8 * c)) & 0xFF);
        texel[c] = static_cast<std::uint8_t>(component * level / 255);
      }
      texel[3] = 255;
    }
  }
  return texels;
}

void BuildCelTexture(const Diveduva3D& scene, MeshObjectX& object) {
  if (object.celTexture != 0) return;
  int width = 0, height = 0;
  const std::vector<std::uint8_t> texels = CelTexels(scene.celRamp, object, width, height);
  object.celRowStep = 1.0f / static_cast<float>(height);
  if (!SceneHasContext(scene)) return;
  // The object is built in the middle of its draw: the textures bound for it stay bound.
  const TextureBindingKeeper keeper;
  object.celTexture.Create();
  glBindTexture(GL_TEXTURE_2D, object.celTexture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
}

void SetCelRamp(Diveduva3D& scene, const std::uint8_t* bytes, int count) {
  if (count <= 0 || bytes == nullptr) {
    scene.celRamp.assign(1, 255);
  } else {
    scene.celRamp.assign(bytes, bytes + count);
  }
  const bool context = SceneHasContext(scene);
  for (ObjectSlot& slot : scene.objects.slots) {
    for (auto& object : slot.objects) {
      if (context) {
        object->celTexture.Reset();
      } else {
        object->celTexture.Release();
      }
    }
  }
}
