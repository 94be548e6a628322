#include "gfx2d/picture_decoder.h"

#include "gfx2d/bmp_reader.h"
#include "gfx2d/png_reader.h"

bool DecodePicture(const char* path, std::int32_t colourKey, ImageBuffer& image) {
  if (!LoadBmp(path, colourKey, image) && !LoadPng(path, colourKey, image)) return false;
  return !image.IsEmpty();
}
