#include "gfx2d/sprite_drawing.h"

#include <cmath>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/batch_set_ups.h"
#include "gfx2d/drawing_state.h"
#include "gfx2d/sprite_turn.h"
#include "video/renderer.h"

namespace {

struct SpriteQuad {
  OpenGLDiveduva* renderer = nullptr;
  const TextureSlot* slot = nullptr;
  int index = 0;
  float right = 0;  // texture coordinates of the picture's far corner
  float top = 0;
};

// The renderer and slot for a slot number; empty when there is nothing to draw with.
SpriteQuad PrepareSprite(double slotNumber) {
  SpriteQuad quad;
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const long long number = TruncateToInt64(slotNumber);
  if (renderer == nullptr || renderer->context == nullptr || !TextureStore::IsValidSlot(number)) return quad;
  quad.index = static_cast<int>(number);
  quad.renderer = renderer;
  quad.slot = &renderer->textures.slots[static_cast<std::size_t>(quad.index)];
  const TextureSlot& entry = *quad.slot;
  if (entry.paddedWidth > 0 && entry.paddedHeight > 0) {
    SpriteExtentMemo& memo = renderer->drawing2D.spriteExtent;
    if (memo.imageWidth != entry.imageWidth || memo.paddedWidth != entry.paddedWidth ||
        memo.imageHeight != entry.imageHeight || memo.paddedHeight != entry.paddedHeight) {
      memo = SpriteExtentMemo{entry.imageWidth, entry.paddedWidth, entry.imageHeight, entry.paddedHeight,
                              static_cast<float>(entry.imageWidth) / static_cast<float>(entry.paddedWidth),
                              static_cast<float>(entry.imageHeight) / static_cast<float>(entry.paddedHeight)};
    }
    quad.right = memo.right;
    quad.top = memo.top;
  }
  return quad;
}

void TexturedQuad(const SpriteQuad& quad, BatchSetUp setUp, float left, float bottom, float right, float top, float u0,
                  float v0, float u1, float v1) {
  float* at = AppendSpriteQuads(*quad.renderer, quad.renderer->batch, *quad.slot, quad.index, setUp, 4);
  PutTexturedRect(at, left, bottom, right, top, u0, v0, u1, v1);
  EndBatchedCommand(*quad.renderer, quad.renderer->batch);
}

}  // namespace

void DrawSprite(double slot, double x, double y) {
  const SpriteQuad quad = PrepareSprite(slot);
  if (quad.slot == nullptr) return;
  const float left = static_cast<float>(std::ceil(x)), top = static_cast<float>(std::ceil(y));
  const float width = static_cast<float>(quad.slot->imageWidth), height = static_cast<float>(quad.slot->imageHeight);
  TexturedQuad(quad, kExactTexelSetUp, left, -top - height, left + width, -top, 0, 0, quad.right, quad.top);
}

void DrawSpriteStretched(double slot, double x, double y, double width, double height) {
  const SpriteQuad quad = PrepareSprite(slot);
  if (quad.slot == nullptr) return;
  const float left = static_cast<float>(std::ceil(x)), top = static_cast<float>(std::ceil(y));
  const float w = static_cast<float>(std::ceil(width)), h = static_cast<float>(std::ceil(height));
  BatchSetUp setUp = (w < 0) != (h < 0) ? kMirroredSpriteSetUp : kSpriteSetUp;
  if (w == static_cast<float>(quad.slot->imageWidth) && h == static_cast<float>(quad.slot->imageHeight)) {
    setUp = kExactTexelSetUp;
  }
  TexturedQuad(quad, setUp, left, -top - h, left + w, -top, 0, 0, quad.right, quad.top);
}

void DrawSpriteZoomed(double slot, double x, double y, double scaleX, double scaleY) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const long long number = TruncateToInt64(slot);
  if (renderer == nullptr || !TextureStore::IsValidSlot(number)) return;
  const TextureSlot& entry = renderer->textures.slots[static_cast<std::size_t>(number)];
  const double width = scaleX * entry.imageWidth, height = scaleY * entry.imageHeight;
  DrawSpriteStretched(slot, x - (width - entry.imageWidth) / 2, y - (height - entry.imageHeight) / 2, width, height);
}

void DrawSpriteRotated(double slot, double x, double y, double angle) { DrawSpriteRotoZoom(slot, x, y, angle, 1); }

void DrawSpriteRotoZoom(double slot, double x, double y, double angle, double zoom) {
  const SpriteQuad quad = PrepareSprite(slot);
  if (quad.slot == nullptr) return;
  const int imageWidth = quad.slot->imageWidth, imageHeight = quad.slot->imageHeight;
  const float halfWidth = static_cast<float>(zoom * imageWidth / 2);
  const float halfHeight = static_cast<float>(zoom * imageHeight / 2);
  const float texelU = quad.slot->paddedWidth > 0 ? 0.5f / static_cast<float>(quad.slot->paddedWidth) : 0;
  const float texelV = quad.slot->paddedHeight > 0 ? 0.5f / static_cast<float>(quad.slot->paddedHeight) : 0;
  const float corners[4][2] = {{-halfWidth, -halfHeight}, {halfWidth, -halfHeight}, {halfWidth, halfHeight},
                               {-halfWidth, halfHeight}};
  const float texels[4][2] = {{texelU, texelV}, {quad.right, texelV}, {quad.right, quad.top}, {texelU, quad.top}};
  const SpriteTurn turn = SpriteTurnOf(static_cast<float>(angle), static_cast<float>(x + imageWidth / 2),
                                       static_cast<float>(-y - imageHeight / 2));
  float* at = AppendSpriteQuads(*quad.renderer, quad.renderer->batch, *quad.slot, quad.index, kSpriteSetUp, 4);
  for (int step = 1; step <= 4; ++step) {  // from the second corner, see BatchPrimitive::kQuads
    const int corner = step % 4;
    float turned[2];
    TurnSpriteCorner(turn, corners[corner][0], corners[corner][1], turned);
    at = PutTexturedVertex(at, turned[0], turned[1], 0, texels[corner][0], texels[corner][1]);
  }
  EndBatchedCommand(*quad.renderer, quad.renderer->batch);
}

void DrawSpriteBillboard(double slot, double x, double y, double z, double scale) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const long long number = TruncateToInt64(slot);
  if (renderer == nullptr || renderer->context == nullptr || !TextureStore::IsValidSlot(number)) return;
  FlushQuadBatch(*renderer);  // drawn at once in the scene's matrices
  const Drawing2DState saved = renderer->drawing2D;
  const SpriteQuad quad = PrepareSprite(slot);
  BindSpriteTexture(*renderer, quad.index, -1, false);

  // The camera's right and up directions are the first two rows of the model-view matrix.
  GLfloat modelView[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  const float rightScale = static_cast<float>(scale * (quad.slot->imageWidth / 4));
  const float upScale = static_cast<float>(scale * (quad.slot->imageHeight / 2));
  const float right[3] = {modelView[0] * rightScale, modelView[4] * rightScale, modelView[8] * rightScale};
  const float up[3] = {modelView[1] * upScale, modelView[5] * upScale, modelView[9] * upScale};
  const float position[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};

  glBegin(GL_TRIANGLE_FAN);
  glTexCoord2f(0, 0);
  glVertex3f(position[0] - right[0], position[1] - right[1], position[2] - right[2]);
  glTexCoord2f(quad.right, 0);
  glVertex3f(position[0] + right[0], position[1] + right[1], position[2] + right[2]);
  glTexCoord2f(quad.right, quad.top);
  glVertex3f(position[0] + right[0] + up[0], position[1] + right[1] + up[1], position[2] + right[2] + up[2]);
  glTexCoord2f(0, quad.top);
  glVertex3f(position[0] - right[0] + up[0], position[1] - right[1] + up[1], position[2] - right[2] + up[2]);
  glEnd();
  BindSpriteTexture(*renderer, saved.currentSlot, saved.secondSlot, saved.useMip);
}
