#pragma once

#include <cstdint>

#include "gfx2d/image_buffer.h"

// Reads an uncompressed Windows bitmap of 8 (palette), 24 or 32 bits per pixel with the
// 40-byte information header, rows bottom-up (positive height) or top-down (negative).
// Pixels equal to colourKey (unless it is kNoColourKey) become (0, 0, 0, 0); all others
// get alpha 255. On any failure the image is emptied and the result is false.
bool LoadBmp(const char* path, std::int32_t colourKey, ImageBuffer& image);
