#pragma once
// The renderer's texture table: 65,536 slots of sprites (0 to 65519) and fonts (65520 to
// 65535), the colour keys used when pictures are loaded, and the 16 background sets of
// tiled full-screen pictures. It lives inside the renderer and is used only on the
// thread that owns the GL context.

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx2d/image_buffer.h"

class OpenGLDiveduva;

struct TextureSlot {
  GLuint texture = 0;     // plain texture, filtered, no mipmaps
  GLuint mipTexture = 0;  // the same picture with a full mipmap chain (sprite slots only)
  std::int32_t paddedWidth = -1;  // texture size in texels; -1 while empty
  std::int32_t paddedHeight = -1;
  std::int32_t imageWidth = 0;    // picture inside the texture, bottom row in texture row 0
  std::int32_t imageHeight = 0;
  std::vector<std::uint8_t> alphaMask;  // collision mask, built on first use

  bool IsEmpty() const { return paddedWidth < 0; }
};

struct BackgroundTile {
  GLuint texture = 0;
  std::int32_t paddedWidth = 0;
  std::int32_t paddedHeight = 0;
  std::int32_t imageWidth = 0;
  std::int32_t imageHeight = 0;
};

// A grid of at most 64 x 64 tiles, addressed by (column, row) from the top left.
struct BackgroundSet {
  static constexpr int kMaxGrid = 64;
  std::vector<BackgroundTile> tiles;  // kMaxGrid * kMaxGrid once used
  int columns = 0;
  int rows = 0;

  BackgroundTile& Tile(int column, int row);
  const BackgroundTile* TileIfUsed(int column, int row) const;
};

class TextureStore {
 public:
  static constexpr int kSlotCount = 65536;
  static constexpr int kFirstFontSlot = 65520;
  static constexpr int kBackgroundSetCount = 16;
  static constexpr int kMaxBackgroundTile = 512;

  TextureStore();

  std::vector<TextureSlot> slots;
  std::int32_t spriteKey = kDefaultSpriteKey;
  std::int32_t fontKey = kDefaultFontKey;
  std::array<BackgroundSet, kBackgroundSetCount> backgrounds;

  static bool IsValidSlot(long long slot) { return slot >= 0 && slot < kSlotCount; }
  static bool IsFontSlot(int slot) { return slot >= kFirstFontSlot; }
};

// Uploads the region (x, y, width, height) of the image (0 = to the image edge) as a
// power-of-two texture into *texture (replacing the old name), and when mipTexture is
// given a second texture with a complete mipmap chain. Linear filtering bleeds colour
// under transparent texels; normalMap converts the texels into a normal map.
void UploadImage(const ImageBuffer& image, int x, int y, int width, int height, GLuint* texture, GLuint* mipTexture,
                 bool normalMap, bool nearest);

// Deletes the slot's textures (while GL is ready) and marks it empty.
void FreeTextureSlot(OpenGLDiveduva& renderer, int slot);
// Frees the slot, decodes the picture at path (BMP first, then PNG) with the colour key
// and uploads it: font slots with nearest filtering and no mipmaps. False leaves the
// slot empty.
bool LoadTextureSlot(OpenGLDiveduva& renderer, int slot, const char* path, std::int32_t colourKey, bool normalMap);
// Empties every slot and background set (used when the renderer goes away).
void ReleaseTextureStore(OpenGLDiveduva& renderer);

// Background sets.
bool LoadBackgroundSet(OpenGLDiveduva& renderer, int set, const char* path);
void CaptureScreenToSet(OpenGLDiveduva& renderer, int set);
void ClearBackgroundSet(OpenGLDiveduva& renderer, int set);
// Draws every tile of the set at its place from the viewport's top left.
void DrawBackgroundSet(OpenGLDiveduva& renderer, int set);

// The largest texture side the context takes (at least 64 when it cannot be asked).
int MaxTextureSize();
