#include "gfx2d/texture_loading.h"

#include <algorithm>
#include <new>

#include "base/engine_state.h"
#include "gfx2d/batch_set_ups.h"
#include "gfx2d/drawing_state.h"
#include "gfx2d/picture_decoder.h"
#include "gfx2d/texture_image.h"
#include "video/renderer.h"

namespace {

void SetTextureParameters(GLint minFilter, GLint magFilter) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

void SetUnpackState() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

void Upload(const TextureBuffer& buffer, GLint level) {
  glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, buffer.width, buffer.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               buffer.texels.data());
}

}  // namespace

void UploadImage(const ImageBuffer& image, int x, int y, int width, int height, GlTexture* texture, GlTexture* mipTexture,
                 bool normalMap, bool nearest) {
  if (width == 0) width = image.width - x;
  if (height == 0) height = image.height - y;
  if (width <= 0 || height <= 0) return;
  FlushEngineQuadBatch();  // the upload rebinds the texture unit
  const int maxSize = MaxTextureSize();
  width = std::min(width, maxSize);
  height = std::min(height, maxSize);

  TextureBuffer buffer =
      BuildTextureBuffer(image, x, y, width, height, PaddedTextureSize(width), PaddedTextureSize(height));
  if (!nearest) BleedTransparentTexels(buffer);

  SetUnpackState();
  glBindTexture(GL_TEXTURE_2D, texture->Create());
  const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
  SetTextureParameters(filter, filter);
  if (normalMap) ConvertToNormalMap(buffer);
  Upload(buffer, 0);

  if (mipTexture != nullptr) {
    glBindTexture(GL_TEXTURE_2D, mipTexture->Create());
    SetUnpackState();
    SetTextureParameters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    Upload(buffer, 0);
    GLint level = 0;
    while (buffer.width > 1 || buffer.height > 1) {
      buffer = NextMipmapLevel(buffer);
      Upload(buffer, ++level);
    }
  }
}

bool LoadTextureSlot(OpenGLDiveduva& renderer, int slot, const char* path, std::int32_t colourKey, bool normalMap) {
  FreeTextureSlot(renderer, slot);
  ImageBuffer image;
  if (!DecodePicture(path, colourKey, image)) return false;
  // Pictures larger than the implementation's textures cannot be shown whole.
  const int maxSize = MaxTextureSize();
  if (image.width > maxSize || image.height > maxSize) return false;

  TextureSlot& entry = renderer.textures.slots[static_cast<std::size_t>(slot)];
  const bool font = TextureStore::IsFontSlot(slot);
  // The padded texel buffer of a large picture may not fit the memory left: then the
  // load fails like that of a damaged file.
  try {
    UploadImage(image, 0, 0, 0, 0, &entry.texture, font ? nullptr : &entry.mipTexture, font ? false : normalMap,
                font);
  } catch (const std::bad_alloc&) {
    FreeTextureSlot(renderer, slot);
    return false;
  }
  entry.paddedWidth = PaddedTextureSize(image.width);
  entry.paddedHeight = PaddedTextureSize(image.height);
  entry.imageWidth = image.width;
  entry.imageHeight = image.height;
  return true;
}

bool LoadBackgroundSet(OpenGLDiveduva& renderer, int set, const char* path) {
  ImageBuffer image;
  if (!DecodePicture(path, kNoColourKey, image)) return false;
  const int tileSize = std::min(MaxTextureSize(), TextureStore::kMaxBackgroundTile);
  ClearBackgroundSet(renderer, set);
  BackgroundSet& background = renderer.textures.backgrounds[static_cast<std::size_t>(set)];
  int row = 0;
  for (int top = 0; top < image.height && row < BackgroundSet::kMaxGrid; top += tileSize, ++row) {
    int column = 0;
    for (int left = 0; left < image.width && column < BackgroundSet::kMaxGrid; left += tileSize, ++column) {
      BackgroundTile& tile = background.Tile(column, row);
      try {
        UploadImage(image, left, top, tileSize, tileSize, &tile.texture, nullptr, false, false);
      } catch (const std::bad_alloc&) {
        ClearBackgroundSet(renderer, set);
        return false;
      }
      tile.paddedWidth = tile.paddedHeight = tileSize;
      tile.imageWidth = tile.imageHeight = tileSize;
    }
    background.columns = std::max(background.columns, column);
  }
  background.rows = row;
  return true;
}

void CaptureScreenToSet(OpenGLDiveduva& renderer, int set) {
  FlushQuadBatch(renderer);
  // Tiles of at most 512 texels, as loaded backgrounds use: a tile of the full maximum
  // texture size would cost up to a gigabyte for a small screen.
  const int tileSize = std::min(MaxTextureSize(), TextureStore::kMaxBackgroundTile);
  BackgroundSet& background = renderer.textures.backgrounds[static_cast<std::size_t>(set)];
  const int screenWidth = renderer.surfaceWidth, screenHeight = renderer.surfaceHeight;
  int row = 0, columns = 0;
  for (int top = 0; top < screenHeight && row < BackgroundSet::kMaxGrid; top += tileSize, ++row) {
    int column = 0;
    for (int left = 0; left < screenWidth && column < BackgroundSet::kMaxGrid; left += tileSize, ++column) {
      BackgroundTile& tile = background.Tile(column, row);
      if (tile.texture == 0 || tile.paddedWidth != tileSize || tile.paddedHeight != tileSize) {
        if (!renderer.glReady) tile.texture.Release();
        glBindTexture(GL_TEXTURE_2D, tile.texture.Create());
        SetTextureParameters(GL_LINEAR, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tileSize, tileSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
      } else {
        glBindTexture(GL_TEXTURE_2D, tile.texture);
      }
      const int width = std::min(tileSize, screenWidth - left);
      const int height = std::min(tileSize, screenHeight - top);
      glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, left, screenHeight - top - height, width, height);
      tile.paddedWidth = tile.paddedHeight = tileSize;
      tile.imageWidth = width;
      tile.imageHeight = height;
    }
    columns = std::max(columns, column);
  }
  background.columns = columns;
  background.rows = row;
}

void DrawBackgroundSet(OpenGLDiveduva& renderer, int set) {
  const BackgroundSet& background = renderer.textures.backgrounds[static_cast<std::size_t>(set)];
  if (background.columns == 0 || background.rows == 0) return;
  for (int row = 0; row < background.rows; ++row) {
    for (int column = 0; column < background.columns; ++column) {
      const BackgroundTile* tile = background.TileIfUsed(column, row);
      if (tile == nullptr) continue;
      // Every tile steps by the tile size; its quad covers the part it holds.
      const float x = static_cast<float>(column * tile->paddedWidth);
      const float y = static_cast<float>(row * tile->paddedHeight);
      const float width = static_cast<float>(tile->imageWidth), height = static_cast<float>(tile->imageHeight);
      const float u = width / static_cast<float>(tile->paddedWidth);
      const float v = height / static_cast<float>(tile->paddedHeight);
      PutTexturedRect(AppendBackgroundQuad(renderer, tile->texture), x, -y - height, x + width, -y, 0, 0, u, v);
      EndBatchedCommand(renderer, renderer.batch);
    }
  }
}

void GrabScreenIntoSlot(OpenGLDiveduva& renderer, int slot, int left, int top, int width, int height) {
  // Grabs use textures of at least 32 texels a side.
  int paddedWidth = 32, paddedHeight = 32;
  while (paddedWidth < width) paddedWidth *= 2;
  while (paddedHeight < height) paddedHeight *= 2;

  FlushQuadBatch(renderer);
  TextureSlot& entry = renderer.textures.slots[static_cast<std::size_t>(slot)];
  const int bottom = renderer.surfaceHeight - top - height;
  TextureBindingKeeper keeper;
  if (entry.texture != 0 && entry.paddedWidth == paddedWidth && entry.paddedHeight == paddedHeight) {
    glBindTexture(GL_TEXTURE_2D, entry.texture);
  } else {
    entry.mipTexture.Reset();
    glBindTexture(GL_TEXTURE_2D, entry.texture.Create());
    SetTextureParameters(GL_LINEAR, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, paddedWidth, paddedHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  }

  GLint alphaBits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  if (alphaBits > 0) {
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, left, bottom, width, height);
  } else {
    // Without destination alpha the sprite key is turned transparent by hand (blue
    // 127 to 132 allows for the rounding of a 16-bit screen).
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(paddedWidth) * paddedHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(left, bottom, paddedWidth, paddedHeight, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
      if (bgra[i] >= 127 && bgra[i] <= 132 && bgra[i + 1] == 0 && bgra[i + 2] == 255) bgra[i + 3] = 0;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, paddedWidth, paddedHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
  }
  std::vector<std::uint8_t>().swap(entry.alphaMask);
  entry.paddedWidth = paddedWidth;
  entry.paddedHeight = paddedHeight;
  entry.imageWidth = width;
  entry.imageHeight = height;
}
