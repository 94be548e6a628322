#pragma once

#include <cstdint>

#include "gfx2d/image_buffer.h"

// Reads an uncompressed Windows bitmap of 8 (palette), 24 or 32 bits per pixel with the
// 40-byte information header, rows bottom-up (positive height) or top-down (negative).
// Pixels equal to colourKey (unless it is kNoColourKey) become (0, 0, 0, 0); all others
// get alpha 255. On any failure, running out of memory included, the image is emptied
// and the result is false. The rows must fit in the file before anything is allocated,
// so a file of n bytes costs at most about 5 * n bytes.
bool LoadBmp(const char* path, std::int32_t colourKey, ImageBuffer& image);
