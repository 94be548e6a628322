#include "gfx3d/draw_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/drawing_state.h"
#include "gfx2d/sprite_drawing.h"
#include "gfx2d/text_drawing.h"
#include "gfx3d/cel_shading.h"
#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_drawing.h"
#include "gfx3d/scene_camera.h"
#include "video/renderer.h"

namespace {

Diveduva3D* Scene() { FlushEngineQuadBatch(); return Subsystems().scene; }  // the 2D batch goes first

float SceneNumber(double value) {
  const float narrowed = static_cast<float>(std::isfinite(value) ? value : 0.0);
  return std::isfinite(narrowed) ? narrowed : 0.0f;
}

}  // namespace

void DrawObject(double slot, double frameA, double frameB, double blend, double interpolate) {
  if (Diveduva3D* scene = Scene()) {
    DrawObjectSlot(*scene, TruncateToInt64(slot), TruncateToInt32(frameA), TruncateToInt32(frameB),
                   SceneNumber(blend), TruncateToInt32(interpolate) != 0);
  }
}

void DrawObjectFrame(double slot, double frame) {
  if (Diveduva3D* scene = Scene()) {
    const int number = TruncateToInt32(frame);
    DrawObjectSlot(*scene, TruncateToInt64(slot), number, number, 0, false);
  }
}

void SetTextureMipmapping(double value) {
  if (Diveduva3D* scene = Scene()) scene->textureMipmapping = TruncateToInt32(value);
}

void SetObjectTextures(double textureA, double textureB) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr || !SceneHasContext(*scene)) return;
  const int first = TruncateToInt32(textureA), second = TruncateToInt32(textureB);
  BindSpriteTexture(scene->renderer, first < 0 ? -1 : first, second < 0 ? -1 : second,
                    scene->textureMipmapping != 0);
}

void SetCelRamp(const NumberArray& ramp) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return;
  std::vector<std::uint8_t> bytes;
  if (ramp.data != nullptr && ramp.dimensionCount >= 1) {
    std::int64_t count = 1;
    for (std::int32_t size : {ramp.dim0, ramp.dim1, ramp.dim2, ramp.dim3}) count *= std::max(size, 1);
    count = std::min<std::int64_t>(count, ramp.capacity);
    for (std::int64_t i = 0; i < count; ++i) {
      bytes.push_back(static_cast<std::uint8_t>(TruncateToInt32(ramp.data[i])));
    }
  }
  SetCelRamp(*scene, bytes.data(), static_cast<int>(bytes.size()));
}

void DrawSprite3D(double sprite, double x, double y, double z, double scale) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return;
  const int orientation = scene->faceOrientation;
  SetFaceOrientation(*scene, -1);
  DrawSpriteBillboard(sprite, x, y, z, scale);
  SetFaceOrientation(*scene, orientation);
}

void DrawText3D(const BasicString& text, double x, double y, double z, double d) {
  if (Scene() == nullptr) return;
  DrawTextInScene(Subsystems().currentFont, text.TextPointer(), x, y, z, d);
}
