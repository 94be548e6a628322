#pragma once

#include <cstdint>

#include "gfx2d/image_buffer.h"

// Reads a PNG through libpng: palettes expanded to RGB, grey below 8 bits expanded, a
// tRNS chunk turned into alpha, 16-bit samples stripped to 8. Grey, RGB and RGBA results
// are accepted; other depths and colour types are refused with two lines on standard
// output (grey with alpha silently). In RGB pictures, pixels equal to colourKey (unless
// it is kNoColourKey) become (0, 0, 0, 0). On failure, running out of memory included,
// the image is emptied. A header that claims more pixel data than the file could
// inflate to is refused, and rows of non-interlaced pictures are stored as they decode,
// so the picture's memory never runs far ahead of the data that fills it.
bool LoadPng(const char* path, std::int32_t colourKey, ImageBuffer& image);
