#include "gfx2d/font_grid.h"

FontGrid FontGridOf(int imageWidth, int imageHeight, int paddedWidth, int paddedHeight) {
  FontGrid grid;
  grid.rows = imageWidth < imageHeight ? 16 : 8;
  grid.cellWidth = imageWidth / FontGrid::kColumns;
  grid.cellHeight = imageHeight / grid.rows;
  if (paddedWidth > 0 && paddedHeight > 0) {
    grid.cellU = static_cast<float>(imageWidth) / static_cast<float>(paddedWidth) / FontGrid::kColumns;
    grid.cellV = static_cast<float>(imageHeight) / static_cast<float>(paddedHeight) / static_cast<float>(grid.rows);
  }
  return grid;
}

FontCell FontCellOf(const FontGrid& grid, std::uint8_t code) {
  const int cell = code % (grid.rows * FontGrid::kColumns);
  const int column = cell % FontGrid::kColumns;
  const int row = cell / FontGrid::kColumns;
  return FontCell{static_cast<float>(column) * grid.cellU, static_cast<float>(grid.rows - 1 - row) * grid.cellV};
}
