#include "video/texture_slot_table.h"

TextureSlot& TextureSlotTable::operator[](std::size_t slot) {
  std::unique_ptr<TextureSlot[]>& block = blocks_[slot / kBlockSize];
  if (block == nullptr) block = std::make_unique<TextureSlot[]>(kBlockSize);
  return block[slot % kBlockSize];
}

const TextureSlot& TextureSlotTable::operator[](std::size_t slot) const {
  static const TextureSlot kEmptySlot;
  const std::unique_ptr<TextureSlot[]>& block = blocks_[slot / kBlockSize];
  return block != nullptr ? block[slot % kBlockSize] : kEmptySlot;
}

std::size_t TextureSlotTable::BlocksMade() const {
  std::size_t made = 0;
  for (const std::unique_ptr<TextureSlot[]>& block : blocks_) made += block != nullptr ? 1 : 0;
  return made;
}
