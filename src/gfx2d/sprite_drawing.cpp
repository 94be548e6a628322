#include "gfx2d/sprite_drawing.h"

#include <cmath>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/drawing_state.h"
#include "video/renderer.h"

namespace {

struct SpriteQuad {
  OpenGLDiveduva* renderer = nullptr;
  const TextureSlot* slot = nullptr;
  float right = 0;  // texture coordinates of the picture's far corner
  float top = 0;
};

// The renderer and slot for a slot number, with the slot's texture bound; empty when
// there is nothing to draw with.
SpriteQuad PrepareSprite(double slotNumber) {
  SpriteQuad quad;
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const long long number = TruncateToInt64(slotNumber);
  if (renderer == nullptr || renderer->context == nullptr || !TextureStore::IsValidSlot(number)) return quad;
  const int index = static_cast<int>(number);
  quad.renderer = renderer;
  quad.slot = &renderer->textures.slots[static_cast<std::size_t>(index)];
  BindSpriteTexture(*renderer, index, -1, false);
  if (quad.slot->paddedWidth > 0 && quad.slot->paddedHeight > 0) {
    quad.right = static_cast<float>(quad.slot->imageWidth) / static_cast<float>(quad.slot->paddedWidth);
    quad.top = static_cast<float>(quad.slot->imageHeight) / static_cast<float>(quad.slot->paddedHeight);
  }
  return quad;
}

void TexturedQuad(float left, float bottom, float right, float top, float u0, float v0, float u1, float v1) {
  glBegin(GL_TRIANGLE_FAN);
  glTexCoord2f(u0, v0);
  glVertex2f(left, bottom);
  glTexCoord2f(u1, v0);
  glVertex2f(right, bottom);
  glTexCoord2f(u1, v1);
  glVertex2f(right, top);
  glTexCoord2f(u0, v1);
  glVertex2f(left, top);
  glEnd();
}

}  // namespace

void DrawSprite(double slot, double x, double y) {
  const SpriteQuad quad = PrepareSprite(slot);
  if (quad.slot == nullptr) return;
  const float left = static_cast<float>(std::ceil(x)), top = static_cast<float>(std::ceil(y));
  const float width = static_cast<float>(quad.slot->imageWidth), height = static_cast<float>(quad.slot->imageHeight);
  TexturedQuad(left, -top - height, left + width, -top, 0, 0, quad.right, quad.top);
}

void DrawSpriteStretched(double slot, double x, double y, double width, double height) {
  const SpriteQuad quad = PrepareSprite(slot);
  if (quad.slot == nullptr) return;
  const float left = static_cast<float>(std::ceil(x)), top = static_cast<float>(std::ceil(y));
  const float w = static_cast<float>(std::ceil(width)), h = static_cast<float>(std::ceil(height));
  // A quad mirrored on one axis turns its back to the viewer; switching the front face
  // for it keeps culling from hiding it.
  const bool mirrored = (w < 0) != (h < 0);
  if (mirrored) glFrontFace(GL_CW);
  TexturedQuad(left, -top - h, left + w, -top, 0, 0, quad.right, quad.top);
  if (mirrored) glFrontFace(GL_CCW);
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
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(static_cast<float>(x + imageWidth / 2), static_cast<float>(-y - imageHeight / 2), 0);
  glRotatef(static_cast<float>(angle), 0, 0, 1);
  TexturedQuad(-halfWidth, -halfHeight, halfWidth, halfHeight, texelU, texelV, quad.right, quad.top);
  glPopMatrix();
}

void DrawSpriteBillboard(double slot, double x, double y, double z, double scale) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const long long number = TruncateToInt64(slot);
  if (renderer == nullptr || renderer->context == nullptr || !TextureStore::IsValidSlot(number)) return;
  const Drawing2DState saved = renderer->drawing2D;
  const SpriteQuad quad = PrepareSprite(slot);

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
