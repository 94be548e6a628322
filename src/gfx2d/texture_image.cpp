#include "gfx2d/texture_image.h"

#include <algorithm>
#include <cmath>

int PaddedTextureSize(int size) {
  int padded = 2;
  while (padded < size && padded < (1 << 30)) padded *= 2;
  return padded;
}

TextureBuffer BuildTextureBuffer(const ImageBuffer& image, int x, int y, int width, int height, int paddedWidth,
                                 int paddedHeight) {
  TextureBuffer buffer;
  buffer.width = paddedWidth;
  buffer.height = paddedHeight;
  buffer.texels.assign(static_cast<std::size_t>(paddedWidth) * paddedHeight * 4, 0);
  const int lastRow = std::min(y + height, image.height);
  const int lastColumn = std::min(x + width, image.width);
  for (int sourceY = std::max(y, 0); sourceY < lastRow; ++sourceY) {
    const int row = height - 1 - (sourceY - y);
    if (row < 0 || row >= paddedHeight) continue;
    for (int sourceX = std::max(x, 0); sourceX < lastColumn; ++sourceX) {
      const int column = sourceX - x;
      if (column >= paddedWidth) break;
      std::copy_n(image.Pixel(sourceX, sourceY), 4, buffer.Texel(column, row));
    }
  }
  return buffer;
}

void BleedTransparentTexels(TextureBuffer& buffer) {
  // Only opaque texels are read and only transparent ones written, so one pass in place
  // sees exactly the original neighbours.
  for (int y = 0; y < buffer.height; ++y) {
    for (int x = 0; x < buffer.width; ++x) {
      std::uint8_t* texel = buffer.Texel(x, y);
      if (texel[3] != 0) continue;
      int sum[3] = {0, 0, 0};
      int count = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if ((dx == 0 && dy == 0) || nx < 1 || ny < 1 || nx > buffer.width - 2 || ny > buffer.height - 2) continue;
          const std::uint8_t* neighbour = buffer.Texel(nx, ny);
          if (neighbour[3] == 0) continue;
          for (int channel = 0; channel < 3; ++channel) sum[channel] += neighbour[channel];
          ++count;
        }
      }
      for (int channel = 0; channel < 3; ++channel) {
        texel[channel] = static_cast<std::uint8_t>(count > 0 ? sum[channel] / count : 0);
      }
    }
  }
}

void ConvertToNormalMap(TextureBuffer& buffer) {
  const int width = buffer.width, height = buffer.height;
  std::vector<float> blue(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) blue[static_cast<std::size_t>(y) * width + x] = buffer.Texel(x, y)[2] / 255.0f;
  }
  auto b = [&](int x, int y) {
    x = (x + width) % width;
    y = (y + height) % height;
    return blue[static_cast<std::size_t>(y) * width + x];
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float sx = b(x - 1, y + 1) + 2 * b(x - 1, y) + b(x - 1, y - 1) - b(x + 1, y + 1) - 2 * b(x + 1, y) -
                       b(x + 1, y - 1);
      const float sy = b(x - 1, y + 1) + 2 * b(x, y + 1) + b(x + 1, y + 1) - b(x - 1, y - 1) - 2 * b(x, y - 1) -
                       b(x + 1, y - 1);
      const float k = 1.0f / std::sqrt(sx * sx + sy * sy + 1.0f);
      std::uint8_t* texel = buffer.Texel(x, y);
      texel[0] = static_cast<std::uint8_t>((sx * k + 1) * 0.5f * 255);
      texel[1] = static_cast<std::uint8_t>((sy * k + 1) * 0.5f * 255);
      texel[2] = static_cast<std::uint8_t>((k + 1) * 0.5f * 255);
    }
  }
}

TextureBuffer NextMipmapLevel(const TextureBuffer& level) {
  TextureBuffer next;
  next.width = std::max(1, level.width / 2);
  next.height = std::max(1, level.height / 2);
  next.texels.resize(static_cast<std::size_t>(next.width) * next.height * 4);
  for (int y = 0; y < next.height; ++y) {
    for (int x = 0; x < next.width; ++x) {
      const int sx = std::min(2 * x, level.width - 1), sy = std::min(2 * y, level.height - 1);
      const bool hasRight = sx + 1 < level.width, hasBelow = sy + 1 < level.height;
      const std::uint8_t* centre = level.Texel(sx, sy);
      std::uint8_t* target = next.Texel(x, y);
      for (int channel = 0; channel < 4; ++channel) {
        // Weights 4 (centre), 2 (right), 2 (below), 1 (diagonal) over 9; on the last row
        // or column (2 x centre + the one neighbour) / 3.
        int value;
        if (hasRight && hasBelow) {
          value = (4 * centre[channel] + 2 * level.Texel(sx + 1, sy)[channel] + 2 * level.Texel(sx, sy + 1)[channel] +
                   level.Texel(sx + 1, sy + 1)[channel]) / 9;
        } else if (hasRight) {
          value = (2 * centre[channel] + level.Texel(sx + 1, sy)[channel]) / 3;
        } else if (hasBelow) {
          value = (2 * centre[channel] + level.Texel(sx, sy + 1)[channel]) / 3;
        } else {
          value = centre[channel];
        }
        target[channel] = static_cast<std::uint8_t>(value);
      }
    }
  }
  return next;
}
