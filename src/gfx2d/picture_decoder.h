#pragma once
// The one entry through which the texture store turns a picture file into pixels.

#include <cstdint>

#include "gfx2d/image_buffer.h"

// Decodes the picture at path, BMP first, then PNG, applying the colour key as those
// readers do. False (and an empty image) when neither reads it or the picture is empty;
// never throws.
bool DecodePicture(const char* path, std::int32_t colourKey, ImageBuffer& image);
