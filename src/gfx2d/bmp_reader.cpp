#include "gfx2d/bmp_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

// File header (14 bytes): "BM", file size, two reserved words, pixel-data offset (at 10).
// Information header (40 bytes): size, width (at 4), height (at 8, signed), planes,
// bits per pixel (at 14), ... followed for 8-bit files by the palette of 4-byte
// entries (blue, green, red, reserved).
constexpr long kFileHeaderSize = 14;
constexpr long kInfoHeaderSize = 40;

std::uint32_t Read32(const std::uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

long FileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool Decode(std::FILE* file, std::int32_t colourKey, ImageBuffer& image) {
  const long fileSize = FileSize(file);
  std::uint8_t fileHeader[kFileHeaderSize];
  if (fileSize < kFileHeaderSize || std::fread(fileHeader, 1, sizeof fileHeader, file) != sizeof fileHeader) {
    return false;
  }
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') return false;

  const std::uint32_t pixelOffset = Read32(fileHeader + 10);
  if (pixelOffset < kFileHeaderSize + kInfoHeaderSize || pixelOffset > static_cast<std::uint32_t>(fileSize)) {
    return false;
  }
  std::vector<std::uint8_t> header(pixelOffset - kFileHeaderSize);
  if (std::fread(header.data(), 1, header.size(), file) != header.size()) return false;

  const std::int32_t width = static_cast<std::int32_t>(Read32(header.data() + 4));
  const std::int32_t signedHeight = static_cast<std::int32_t>(Read32(header.data() + 8));
  const int bitsPerPixel = header[14] | header[15] << 8;
  if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
  if (width <= 0 || width > kMaxImageSide || signedHeight == 0 || signedHeight < -kMaxImageSide ||
      signedHeight > kMaxImageSide) {
    return false;
  }
  const std::int32_t height = signedHeight < 0 ? -signedHeight : signedHeight;
  const bool topDown = signedHeight < 0;

  const std::size_t bytesPerPixel = static_cast<std::size_t>(bitsPerPixel / 8);
  const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
  const std::size_t dataSize = stride * static_cast<std::size_t>(height);
  // The rows follow the header; a file shorter than that is refused before allocating.
  if (dataSize > static_cast<std::size_t>(fileSize) - pixelOffset) return false;
  std::vector<std::uint8_t> rows(dataSize);
  if (std::fread(rows.data(), 1, rows.size(), file) != rows.size()) return false;

  const std::uint8_t* palette = header.data() + kInfoHeaderSize;
  const std::size_t paletteEntries = (header.size() - kInfoHeaderSize) / 4;

  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = topDown ? row : height - 1 - row;
    const std::uint8_t* source = rows.data() + stride * static_cast<std::size_t>(row);
    for (std::int32_t x = 0; x < width; ++x) {
      std::uint8_t red = 0, green = 0, blue = 0;
      if (bitsPerPixel == 8) {
        // An index past the palette the file carries reads as black.
        const std::size_t index = source[x];
        if (index < paletteEntries) {
          blue = palette[index * 4];
          green = palette[index * 4 + 1];
          red = palette[index * 4 + 2];
        }
      } else {
        const std::uint8_t* bgr = source + static_cast<std::size_t>(x) * bytesPerPixel;
        blue = bgr[0];
        green = bgr[1];
        red = bgr[2];
      }
      std::uint8_t* target = image.Pixel(x, y);
      if (colourKey != kNoColourKey && PackColour(red, green, blue) == colourKey) continue;  // stays 0, 0, 0, 0
      target[0] = red;
      target[1] = green;
      target[2] = blue;
      target[3] = 255;
    }
  }
  return true;
}

}  // namespace

bool LoadBmp(const char* path, std::int32_t colourKey, ImageBuffer& image) {
  image.Clear();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;
  bool decoded = false;
  try {
    decoded = Decode(file.get(), colourKey, image);
  } catch (const std::bad_alloc&) {
    decoded = false;
  }
  if (!decoded) {
    image.Clear();
    return false;
  }
  return true;
}
