#pragma once
// The renderer's 65,536 texture slots (see texture_store.h), kept in blocks of 256 that
// are made when a slot in them is first written. A game fills a handful of slots; making
// all of them at start-up touched 3 MB of fresh memory, several milliseconds of page
// faults before the first frame. Reading a slot of a block never made gives an empty
// slot and makes nothing. A slot never moves once its block exists, so references to it
// stay valid while other blocks are made.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "video/gl_texture.h"

struct TextureSlot {
  GlTexture texture;     // plain texture, filtered, no mipmaps
  GlTexture mipTexture;  // the same picture with a full mipmap chain (sprite slots only)
  std::int32_t paddedWidth = -1;  // texture size in texels; -1 while empty
  std::int32_t paddedHeight = -1;
  std::int32_t imageWidth = 0;    // picture inside the texture, bottom row in texture row 0
  std::int32_t imageHeight = 0;
  std::vector<std::uint8_t> alphaMask;  // collision mask, built on first use

  bool IsEmpty() const { return paddedWidth < 0; }
};

class TextureSlotTable {
 public:
  static constexpr std::size_t kSlotCount = 65536;
  static constexpr std::size_t kBlockSize = 256;

  // The slot, making its block when it has none yet. slot must be below kSlotCount.
  TextureSlot& operator[](std::size_t slot);
  // The slot, or a shared empty slot when its block was never made.
  const TextureSlot& operator[](std::size_t slot) const;
  std::size_t size() const { return kSlotCount; }
  // How many blocks exist (for tests and memory figures).
  std::size_t BlocksMade() const;

 private:
  std::array<std::unique_ptr<TextureSlot[]>, kSlotCount / kBlockSize> blocks_;
};
