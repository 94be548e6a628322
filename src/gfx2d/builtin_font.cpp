#include "gfx2d/builtin_font.h"

#include <array>

namespace {

constexpr int kFirstGlyphCode = 32;
constexpr int kGlyphCount = 96;
constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 6;
// A glyph pixel (column, row) lands at (1 + column, 1 + row) of its cell; the outline may
// reach one pixel further, inside the cell's first 7 columns.
constexpr int kGlyphOffset = 1;
constexpr int kOutlineAreaWidth = 7;
constexpr int kOutlineAreaHeight = 8;
constexpr std::uint8_t kOutlineLevel = 8;

// One row per group of 16 codes, from code 32.
constexpr std::array<std::uint32_t, kGlyphCount> kGlyphWords = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x00001080,
    0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000, 0x08000000, 0x04222100,
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E, 0x00E5384E, 0x0042210E,
    0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080, 0x00820888, 0x000701C0, 0x00222082, 0x0040310E,
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E,
    0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E,
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5,
    0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144, 0x00E00000,
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800, 0x00423888, 0x08873800,
    0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800,
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400,
    0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,
};

// Whether cell pixel (x, y) is lit by the glyph word.
bool IsLit(std::uint32_t word, int x, int y) {
  const int column = x - kGlyphOffset, row = y - kGlyphOffset;
  if (column < 0 || column >= kGlyphColumns || row < 0 || row >= kGlyphRows) return false;
  return (word >> (row * kGlyphColumns + column)) & 1u;
}

void DrawGlyphCell(ImageBuffer& image, std::uint32_t word, int cellX, int cellY) {
  for (int y = 0; y < kOutlineAreaHeight; ++y) {
    for (int x = 0; x < kOutlineAreaWidth; ++x) {
      std::uint8_t* pixel = image.Pixel(cellX + x, cellY + y);
      if (IsLit(word, x, y)) {
        pixel[0] = pixel[1] = pixel[2] = pixel[3] = 255;
      } else if (IsLit(word, x - 1, y) || IsLit(word, x + 1, y) || IsLit(word, x, y - 1) || IsLit(word, x, y + 1)) {
        pixel[0] = pixel[1] = pixel[2] = kOutlineLevel;
        pixel[3] = 255;
      }
    }
  }
}

}  // namespace

std::uint32_t BuiltinGlyphWord(int code) {
  if (code < kFirstGlyphCode || code >= kFirstGlyphCode + kGlyphCount) return 0;
  return kGlyphWords[static_cast<std::size_t>(code - kFirstGlyphCode)];
}

ImageBuffer BuildBuiltinFontImage() {
  ImageBuffer image;
  image.width = kBuiltinFontWidth;
  image.height = kBuiltinFontHeight;
  image.pixels.assign(static_cast<std::size_t>(kBuiltinFontWidth) * kBuiltinFontHeight * 4, 0);
  constexpr int columns = kBuiltinFontWidth / kBuiltinFontCell;
  for (int code = kFirstGlyphCode; code < kFirstGlyphCode + kGlyphCount; ++code) {
    DrawGlyphCell(image, BuiltinGlyphWord(code), kBuiltinFontCell * (code % columns),
                  kBuiltinFontCell * (code / columns));
  }
  return image;
}
