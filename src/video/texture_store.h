#pragma once
// The renderer's texture table: 65,536 slots of sprites (0 to 65519) and fonts (65520 to
// 65535), the colour keys used when pictures are loaded, and the 16 background sets of
// tiled full-screen pictures. It lives inside the renderer and is used only on the
// thread that owns the GL context; the 2D floor above fills it (gfx2d/texture_loading.h).

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "video/gl_texture.h"
#include "video/texture_slot_table.h"

class OpenGLDiveduva;

// The colour keys pictures are loaded with until the game sets others, packed as red +
// green * 256 + blue * 65536.
inline constexpr std::int32_t kDefaultSpriteKey = 0x8000FF;  // red 255, green 0, blue 128
inline constexpr std::int32_t kDefaultFontKey = 0;           // black

struct BackgroundTile {
  GlTexture texture;
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

  TextureSlotTable slots;
  std::int32_t spriteKey = kDefaultSpriteKey;
  std::int32_t fontKey = kDefaultFontKey;
  std::array<BackgroundSet, kBackgroundSetCount> backgrounds;

  static bool IsValidSlot(long long slot) { return slot >= 0 && slot < kSlotCount; }
  static bool IsFontSlot(int slot) { return slot >= kFirstFontSlot; }
};

// Deletes the slot's textures (while GL is ready) and marks it empty.
void FreeTextureSlot(OpenGLDiveduva& renderer, int slot);
// Empties every slot and background set (used when the renderer goes away).
void ReleaseTextureStore(OpenGLDiveduva& renderer);
// Deletes the set's tiles (while GL is ready) and leaves it empty.
void ClearBackgroundSet(OpenGLDiveduva& renderer, int set);

// The largest texture side the context takes (at least 64 when it cannot be asked).
int MaxTextureSize();
