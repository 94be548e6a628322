#pragma once
// The texel work of turning a picture into an OpenGL texture, on plain byte buffers:
// power-of-two padding, edge bleeding under transparent texels, the normal-map
// conversion and the mipmap reduction. The GL calls live in the texture store.

#include <cstdint>
#include <vector>

#include "gfx2d/image_buffer.h"

// A tw x th RGBA texel buffer with texture row 0 at the bottom, as OpenGL stores it.
struct TextureBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> texels;

  std::uint8_t* Texel(int x, int y) { return &texels[(static_cast<std::size_t>(y) * width + x) * 4]; }
  const std::uint8_t* Texel(int x, int y) const { return &texels[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// The smallest power of two that is at least size, and at least 2.
int PaddedTextureSize(int size);

// Copies the region (x, y, width, height) of the image, top row first, into a zeroed
// buffer of paddedWidth x paddedHeight so that the region's bottom row lands in texture
// row 0. Image pixels outside the picture stay (0, 0, 0, 0).
TextureBuffer BuildTextureBuffer(const ImageBuffer& image, int x, int y, int width, int height, int paddedWidth,
                                 int paddedHeight);

// Gives every texel with alpha 0 the truncated average colour of those of its 8
// neighbours that are not transparent and lie strictly inside the buffer (black when
// there is none), so linear filtering does not pull dark fringes in from keyed texels.
void BleedTransparentTexels(TextureBuffer& buffer);

// Turns the buffer into a normal map from its blue channel (Sobel slopes, wrapping at
// the edges); alpha is kept.
void ConvertToNormalMap(TextureBuffer& buffer);

// The next, half-sized level of a mipmap chain (each side halved, at least 1).
TextureBuffer NextMipmapLevel(const TextureBuffer& level);
