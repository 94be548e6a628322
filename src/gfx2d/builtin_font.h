#pragma once
// The engine's own 8 x 8 font, used wherever a font picture cannot be loaded: a 128 x 64
// picture of 16 x 8 cells generated from a table of 5 x 6 glyph patterns for the codes
// 32 to 127, white with a dark outline so it reads on any background.

#include <cstdint>

#include "gfx2d/image_buffer.h"

inline constexpr int kBuiltinFontWidth = 128;
inline constexpr int kBuiltinFontHeight = 64;
inline constexpr int kBuiltinFontCell = 8;

// The pattern word of a code: bit (row * 5 + column) lights pixel (column, row) of a 5 x 6
// glyph. Codes outside 32 .. 127 have no glyph (0).
std::uint32_t BuiltinGlyphWord(int code);

// The whole font picture: lit pixels (255, 255, 255, 255), their unlit 4-neighbours in
// the cell's 7 x 8 area (8, 8, 8, 255), everything else (0, 0, 0, 0).
ImageBuffer BuildBuiltinFontImage();
