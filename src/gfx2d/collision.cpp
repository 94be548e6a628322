#include "gfx2d/collision.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "video/renderer.h"

namespace {

bool AxisOverlaps(double start1, double size1, double start2, double size2) {
  const double low1 = std::min(start1, start1 + size1), high1 = std::max(start1, start1 + size1);
  const double low2 = std::min(start2, start2 + size2), high2 = std::max(start2, start2 + size2);
  return std::max(low1, low2) <= std::min(high1, high2);
}

// The slot's alpha channel, one byte per texel, read back once and kept until the slot
// changes.
const std::vector<std::uint8_t>& AlphaMask(TextureSlot& slot) {
  if (slot.alphaMask.empty() && slot.texture != 0 && slot.paddedWidth > 0 && slot.paddedHeight > 0) {
    slot.alphaMask.resize(static_cast<std::size_t>(slot.paddedWidth) * slot.paddedHeight);
    GLint previous = 0;
    FlushEngineQuadBatch();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, slot.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, slot.alphaMask.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  }
  return slot.alphaMask;
}

}  // namespace

double BoxCollision(double x1, double y1, double w1, double h1, double x2, double y2, double w2, double h2) {
  return AxisOverlaps(x1, w1, x2, w2) && AxisOverlaps(y1, h1, y2, h2) ? 1 : 0;
}

bool MasksOverlap(const PlacedMask& first, const PlacedMask& second) {
  const int left = std::max(first.x, second.x), right = std::min(first.x + first.imageWidth, second.x + second.imageWidth);
  const int top = std::max(first.y, second.y), bottom = std::min(first.y + first.imageHeight, second.y + second.imageHeight);
  if (right <= left || bottom <= top) return false;
  auto opaque = [](const PlacedMask& sprite, int screenX, int screenY) {
    const int column = screenX - sprite.x;
    const int row = sprite.y + sprite.imageHeight - 1 - screenY;
    return sprite.mask[static_cast<std::size_t>(row) * sprite.paddedWidth + column] != 0;
  };
  for (int pass = 0; pass < 4; ++pass) {
    const int columnOffset = pass & 1, rowOffset = pass >> 1;
    for (int y = top + rowOffset; y < bottom; y += 2) {
      for (int x = left + columnOffset; x < right; x += 2) {
        if (opaque(first, x, y) && opaque(second, x, y)) return true;
      }
    }
  }
  return false;
}

double SpriteCollision(double slot1, double x1, double y1, double slot2, double x2, double y2) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  const long long number1 = TruncateToInt64(slot1), number2 = TruncateToInt64(slot2);
  if (renderer == nullptr || !TextureStore::IsValidSlot(number1) || !TextureStore::IsValidSlot(number2)) return 0;
  TextureSlot& first = renderer->textures.slots[static_cast<std::size_t>(number1)];
  TextureSlot& second = renderer->textures.slots[static_cast<std::size_t>(number2)];
  const int left1 = TruncateToInt32(x1), top1 = TruncateToInt32(y1);
  const int left2 = TruncateToInt32(x2), top2 = TruncateToInt32(y2);
  if (std::min(left1 + first.imageWidth, left2 + second.imageWidth) < std::max(left1, left2) ||
      std::min(top1 + first.imageHeight, top2 + second.imageHeight) < std::max(top1, top2)) {
    return 0;
  }
  if (first.IsEmpty() || second.IsEmpty() || renderer->context == nullptr) return 0;
  const std::vector<std::uint8_t>& mask1 = AlphaMask(first);
  const std::vector<std::uint8_t>& mask2 = AlphaMask(second);
  if (mask1.empty() || mask2.empty()) return 0;
  const PlacedMask placed1{mask1.data(), first.paddedWidth, left1, top1, first.imageWidth, first.imageHeight};
  const PlacedMask placed2{mask2.data(), second.paddedWidth, left2, top2, second.imageWidth, second.imageHeight};
  return MasksOverlap(placed1, placed2) ? 1 : 0;
}
