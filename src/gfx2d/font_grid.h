#pragma once
// The cell grid of a font picture: 16 cells per row; 16 rows (codes 0 to 255) when the
// picture is narrower than it is tall, else 8 rows (codes 0 to 127). A code picks its
// cell directly, reduced modulo the number of cells; every cell advances the same width.

#include <cstdint>

struct FontGrid {
  static constexpr int kColumns = 16;

  int rows = 8;
  int cellWidth = 0;   // pixels: image width / 16
  int cellHeight = 0;  // pixels: image height / rows
  float cellU = 0;     // texture size of one cell: (image width / padded width) / 16
  float cellV = 0;     //   and (image height / padded height) / rows
};

// The lower-left corner of a cell in texture coordinates. The picture's top row is the
// top of the texture, so cell row 0 has the highest v.
struct FontCell {
  float u = 0;
  float v = 0;
};

// The grid of a picture of imageWidth x imageHeight inside a texture of paddedWidth x
// paddedHeight. An empty slot (padded sizes not positive) has cells of size 0.
FontGrid FontGridOf(int imageWidth, int imageHeight, int paddedWidth, int paddedHeight);

// The cell of a character (its byte value 0 .. 255).
FontCell FontCellOf(const FontGrid& grid, std::uint8_t code);
