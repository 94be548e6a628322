#include "gfx2d/texture_commands.h"

#include <string>
#include <vector>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "files/archive.h"
#include "gfx2d/drawing_state.h"
#include "gfx2d/image_writer.h"
#include "gfx2d/texture_loading.h"
#include "video/renderer.h"

namespace {

// The renderer when the slot number names a slot, else null: commands given a slot
// outside the table do nothing.
OpenGLDiveduva* RendererForSlot(double slot, int& index) {
  const long long number = TruncateToInt64(slot);
  if (!TextureStore::IsValidSlot(number)) return nullptr;
  index = static_cast<int>(number);
  return Subsystems().renderer;
}

bool LoadIntoSlot(const BasicString& fileName, double slot, std::int32_t colourKey, bool normalMap) {
  int index = 0;
  OpenGLDiveduva* renderer = RendererForSlot(slot, index);
  if (renderer == nullptr) return false;
  FreeTextureSlot(*renderer, index);
  std::string path;
  if (!ResolveLoaderPath(fileName.TextPointer(), path)) return false;
  return LoadTextureSlot(*renderer, index, path.c_str(), colourKey, normalMap);
}

}  // namespace

void LoadSprite(const BasicString& fileName, double slot) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;
  LoadIntoSlot(fileName, slot, renderer->textures.spriteKey, false);
}

double LoadBumpMap(const BasicString& fileName, double slot) {
  return LoadIntoSlot(fileName, slot, kDefaultSpriteKey, true) ? 1 : 0;
}

void SetTransparentColour(double colour) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;
  const std::int32_t key = TruncateToInt32(colour);
  renderer->textures.spriteKey = key;
  renderer->textures.fontKey = key;
}

void GetSpriteSize(double slot, double& width, double& height) {
  int index = 0;
  OpenGLDiveduva* renderer = RendererForSlot(slot, index);
  if (renderer == nullptr) {
    width = height = 0;
    return;
  }
  const TextureSlot& entry = renderer->textures.slots[static_cast<std::size_t>(index)];
  width = entry.imageWidth;
  height = entry.imageHeight;
}

double SaveSprite(double slot, const BasicString& fileName) {
  int index = 0;
  OpenGLDiveduva* renderer = RendererForSlot(slot, index);
  if (renderer == nullptr || renderer->context == nullptr) return 0;
  const TextureSlot& entry = renderer->textures.slots[static_cast<std::size_t>(index)];
  if (entry.IsEmpty() || entry.texture == 0 || entry.imageWidth <= 0 || entry.imageHeight <= 0) return 0;

  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(entry.paddedWidth) * entry.paddedHeight * 3);
  {
    TextureBindingKeeper keeper;
    glBindTexture(GL_TEXTURE_2D, entry.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, bgr.data());
  }
  return SaveImageFile(fileName.TextPointer(), bgr.data(), entry.imageWidth, entry.imageHeight, entry.paddedWidth)
             ? 1
             : 0;
}

double SaveScreen(const BasicString& fileName) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr || renderer->context == nullptr) return 0;
  const int width = renderer->surfaceWidth, height = renderer->surfaceHeight;
  if (width <= 0 || height <= 0) return 0;
  FlushQuadBatch(*renderer);
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_FRONT);
  glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, bgr.data());
  glReadBuffer(GL_BACK);
  return SaveImageFile(fileName.TextPointer(), bgr.data(), width, height, width) ? 1 : 0;
}

double GrabSprite(double slot, double x, double y, double width, double height) {
  int index = 0;
  OpenGLDiveduva* renderer = RendererForSlot(slot, index);
  if (renderer == nullptr || renderer->context == nullptr) return 0;
  const int left = TruncateToInt32(x), top = TruncateToInt32(y);
  const int grabWidth = TruncateToInt32(width), grabHeight = TruncateToInt32(height);
  const int maxSize = MaxTextureSize();
  if (grabWidth <= 0 || grabHeight <= 0 || grabWidth > maxSize || grabHeight > maxSize) return 0;

  GrabScreenIntoSlot(*renderer, index, left, top, grabWidth, grabHeight);
  return 1;
}

GLuint GetSpriteTextureName(int slot) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr || !TextureStore::IsValidSlot(slot)) return 0;
  // The game draws with the name through GL calls of its own: the 2D batch goes first.
  FlushQuadBatch(*renderer);
  return renderer->textures.slots[static_cast<std::size_t>(slot)].texture;
}
