#include "gfx2d/font_store.h"

#include <algorithm>
#include <string>

#include "base/number_truncation.h"
#include "files/archive.h"
#include "gfx2d/builtin_font.h"
#include "gfx2d/texture_loading.h"
#include "video/renderer.h"

int ClampFontNumber(double number) { return std::clamp(TruncateToInt32(number), 0, kFontCount - 1); }

int FontSlot(int font) { return TextureStore::kFirstFontSlot + font; }

void UploadBuiltinFont(OpenGLDiveduva& renderer, int font) {
  const int slot = FontSlot(font);
  FreeTextureSlot(renderer, slot);
  const ImageBuffer image = BuildBuiltinFontImage();
  TextureSlot& entry = renderer.textures.slots[static_cast<std::size_t>(slot)];
  UploadImage(image, 0, 0, 0, 0, &entry.texture, nullptr, false, true);
  // 128 x 64 is a power of two on both sides: the texture is the picture.
  entry.paddedWidth = entry.imageWidth = image.width;
  entry.paddedHeight = entry.imageHeight = image.height;
}

bool LoadFontSlot(OpenGLDiveduva& renderer, int font, const char* fileName) {
  std::string path;
  if (ResolveLoaderPath(fileName, path) &&
      LoadTextureSlot(renderer, FontSlot(font), path.c_str(), renderer.textures.fontKey, false)) {
    return true;
  }
  UploadBuiltinFont(renderer, font);
  return false;
}

FontGrid FontGridOfSlot(const OpenGLDiveduva& renderer, int font) {
  if (font < 0 || font >= kFontCount) return FontGridOf(0, 0, 0, 0);
  const TextureSlot& entry = renderer.textures.slots[static_cast<std::size_t>(FontSlot(font))];
  if (entry.IsEmpty()) return FontGridOf(0, 0, 0, 0);
  return FontGridOf(entry.imageWidth, entry.imageHeight, entry.paddedWidth, entry.paddedHeight);
}
