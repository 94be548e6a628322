#include "video/texture_slot_table.h"

#include <gtest/gtest.h>

#include <utility>

TEST(TextureSlotTable, ReadingUnusedSlotsGivesEmptySlotsAndMakesNoMemory) {
  const TextureSlotTable table;
  for (std::size_t slot : {std::size_t{0}, std::size_t{300}, TextureSlotTable::kSlotCount - 1}) {
    EXPECT_TRUE(table[slot].IsEmpty()) << slot;
    EXPECT_EQ(table[slot].texture, 0u) << slot;
  }
  EXPECT_EQ(table.BlocksMade(), 0u);
}

TEST(TextureSlotTable, WrittenSlotsKeepTheirPlaceAndValuesWhileOtherBlocksAreMade) {
  TextureSlotTable table;
  TextureSlot& first = table[5];
  first.paddedWidth = 64;
  first.imageWidth = 7;
  TextureSlot& last = table[TextureSlotTable::kSlotCount - 1];
  last.paddedWidth = 8;
  EXPECT_EQ(table.BlocksMade(), 2u);
  for (std::size_t slot = 0; slot < TextureSlotTable::kSlotCount; slot += 97) table[slot];
  EXPECT_EQ(&table[5], &first);
  EXPECT_EQ(std::as_const(table)[5].imageWidth, 7);
  EXPECT_FALSE(std::as_const(table)[TextureSlotTable::kSlotCount - 1].IsEmpty());
  // A neighbour in a written slot's block starts empty.
  EXPECT_TRUE(std::as_const(table)[6].IsEmpty());
}
