// The built-in font picture and the cell grid of font pictures, without a window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx2d/builtin_font.h"
#include "gfx2d/font_grid.h"

namespace {

// One cell of the built-in picture as text: 'W' lit, 'o' outline, '.' transparent.
std::vector<std::string> CellPicture(const ImageBuffer& image, int code) {
  std::vector<std::string> rows;
  const int left = 8 * (code % 16), top = 8 * (code / 16);
  for (int y = 0; y < 8; ++y) {
    std::string row;
    for (int x = 0; x < 8; ++x) {
      const std::uint8_t* pixel = image.Pixel(left + x, top + y);
      if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255 && pixel[3] == 255) {
        row += 'W';
      } else if (pixel[0] == 8 && pixel[1] == 8 && pixel[2] == 8 && pixel[3] == 255) {
        row += 'o';
      } else if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0 && pixel[3] == 0) {
        row += '.';
      } else {
        row += '?';
      }
    }
    rows.push_back(row);
  }
  return rows;
}

// The letter A: rows .###., .#.#., .###., .#.#., .#.#. and an empty sixth row, one pixel
// in from the cell's corner, with its outline.
const std::vector<std::string> kLetterA = {
    "..ooo...",  //
    ".oWWWo..",  //
    ".oWoWo..",  //
    ".oWWWo..",  //
    ".oWoWo..",  //
    ".oWoWo..",  //
    "..o.o...",  //
    "........",
};

TEST(BuiltinFont, LetterAIsTheGlyphWithItsDarkOutline) {
  const ImageBuffer image = BuildBuiltinFontImage();
  ASSERT_EQ(image.width, 128);
  ASSERT_EQ(image.height, 64);
  EXPECT_EQ(CellPicture(image, 'A'), kLetterA);
}

TEST(BuiltinFont, OutlineStaysInsideTheCellsFirstSevenColumns) {
  const ImageBuffer image = BuildBuiltinFontImage();
  // Code 127 lights the whole border of its 5 x 6 pattern: the outline reaches every
  // edge of the 7 x 8 area but not its corners, and column 7 stays empty.
  const std::vector<std::string> box = {
      ".ooooo..",  //
      "oWWWWWo.",  //
      "oWoooWo.",  //
      "oWo.oWo.",  //
      "oWo.oWo.",  //
      "oWoooWo.",  //
      "oWWWWWo.",  //
      ".ooooo..",
  };
  EXPECT_EQ(CellPicture(image, 127), box);
  for (int code = 0; code < 128; ++code) {
    for (const std::string& row : CellPicture(image, code)) EXPECT_EQ(row[7], '.') << "code " << code;
  }
}

TEST(BuiltinFont, ControlCodesAndTheBlankHaveEmptyCells) {
  const ImageBuffer image = BuildBuiltinFontImage();
  const std::vector<std::string> empty(8, "........");
  for (int code = 0; code <= 32; ++code) EXPECT_EQ(CellPicture(image, code), empty) << "code " << code;
  EXPECT_EQ(BuiltinGlyphWord(31), 0u);
  EXPECT_EQ(BuiltinGlyphWord(128), 0u);
  EXPECT_EQ(BuiltinGlyphWord('A'), 0x00A5394Eu);
  EXPECT_NE(CellPicture(image, '~'), empty);
}

TEST(FontGridTest, WidePicturesHaveEightRowsAndTallOnesSixteen) {
  const FontGrid wide = FontGridOf(256, 128, 256, 128);
  EXPECT_EQ(wide.rows, 8);
  EXPECT_EQ(wide.cellWidth, 16);
  EXPECT_EQ(wide.cellHeight, 16);
  const FontGrid square = FontGridOf(128, 128, 128, 128);  // not narrower than tall
  EXPECT_EQ(square.rows, 8);
  EXPECT_EQ(square.cellHeight, 16);
  const FontGrid tall = FontGridOf(128, 256, 128, 256);
  EXPECT_EQ(tall.rows, 16);
  EXPECT_EQ(tall.cellWidth, 8);
  EXPECT_EQ(tall.cellHeight, 16);
}

TEST(FontGridTest, CodesBeyondTheCellsWrapAround) {
  const FontGrid wide = FontGridOf(256, 128, 256, 128);
  EXPECT_FLOAT_EQ(FontCellOf(wide, 200).u, FontCellOf(wide, 72).u);
  EXPECT_FLOAT_EQ(FontCellOf(wide, 200).v, FontCellOf(wide, 72).v);
  // Code 72 is column 8, row 4 of 8: v counts rows from the bottom of the texture.
  EXPECT_FLOAT_EQ(FontCellOf(wide, 72).u, 0.5f);
  EXPECT_FLOAT_EQ(FontCellOf(wide, 72).v, 3.0f / 8);
  const FontGrid tall = FontGridOf(128, 256, 128, 256);
  EXPECT_FLOAT_EQ(FontCellOf(tall, 200).v, 3.0f / 16);  // row 12 of 16
  EXPECT_FLOAT_EQ(FontCellOf(tall, 0).v, 15.0f / 16);   // the top row of the picture
  EXPECT_FLOAT_EQ(FontCellOf(tall, 255).u, 15.0f / 16);
  EXPECT_FLOAT_EQ(FontCellOf(tall, 255).v, 0);
}

TEST(FontGridTest, PaddedPicturesUseOnlyThePictureArea) {
  // A 100 x 50 picture in a 128 x 64 texture: cells of 6 x 6 pixels, texture cells
  // measured on the picture's part of the texture.
  const FontGrid grid = FontGridOf(100, 50, 128, 64);
  EXPECT_EQ(grid.cellWidth, 6);
  EXPECT_EQ(grid.cellHeight, 6);
  EXPECT_FLOAT_EQ(grid.cellU, 100.0f / 128 / 16);
  EXPECT_FLOAT_EQ(grid.cellV, 50.0f / 64 / 8);
  EXPECT_FLOAT_EQ(FontCellOf(grid, 0).v, 7 * grid.cellV);
}

TEST(FontGridTest, AnEmptySlotHasNoCells) {
  const FontGrid grid = FontGridOf(0, 0, -1, -1);
  EXPECT_EQ(grid.cellWidth, 0);
  EXPECT_EQ(grid.cellHeight, 0);
  EXPECT_EQ(grid.cellU, 0);
  EXPECT_EQ(FontCellOf(grid, 'A').u, 0);
}

}  // namespace
