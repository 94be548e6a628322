#include "gfx2d/image_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// 24-bit BMP: 14-byte file header + 40-byte information header, then rows of blue,
// green, red padded to 4 bytes, bottom row first.
constexpr std::uint32_t kBmpHeadersSize = 54;
constexpr std::int32_t kPixelsPerMetre = 10000;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool SaveBmp24(const std::string& path, const std::uint8_t* bgrRows, int width, int height, int rowStride) {
  const std::uint32_t paddedRow = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
  const std::uint32_t imageBytes = paddedRow * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> out;
  out.reserve(kBmpHeadersSize + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kBmpHeadersSize + imageBytes);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, kBmpHeadersSize);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, 0);  // image size may be 0 for uncompressed files
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = bgrRows + static_cast<std::size_t>(y) * rowStride * 3;
    out.insert(out.end(), row, row + static_cast<std::size_t>(width) * 3);
    out.resize(out.size() + (paddedRow - static_cast<std::uint32_t>(width) * 3), 0);
  }
  return WriteAll(path, out);
}

struct PngWriteState {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWriteState() {
    if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    if (file != nullptr) std::fclose(file);
  }
};

void RaiseError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

bool WritePngRows(PngWriteState& state, std::vector<png_bytep>& rows, int width, int height) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, state.file);
  png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color_16 white{};
  white.red = white.green = white.blue = 255;
  png_set_bKGD(state.png, state.info, &white);
  png_write_info(state.png, state.info);
  png_set_bgr(state.png);  // the rows arrive as blue, green, red, alpha
  png_write_image(state.png, rows.data());
  png_write_end(state.png, nullptr);
  return true;
}

}  // namespace

bool HasPngExtension(const std::string& path) {
  if (path.size() <= 4) return false;
  const char* end = path.c_str() + path.size() - 4;
  return end[0] == '.' && (end[1] | 0x20) == 'p' && (end[2] | 0x20) == 'n' && (end[3] | 0x20) == 'g';
}

bool SavePng(const std::string& path, const std::uint8_t* bgraRows, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  PngWriteState state;
  state.file = std::fopen(path.c_str(), "wb");
  if (state.file == nullptr) return false;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
  if (state.png == nullptr) return false;
  state.info = png_create_info_struct(state.png);
  if (state.info == nullptr) return false;
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(bgraRows + static_cast<std::size_t>(y) * width * 4);
  }
  if (!WritePngRows(state, rows, width, height)) return false;
  const bool closed = std::fclose(state.file) == 0;
  state.file = nullptr;
  return closed;
}

bool SaveImageFile(const std::string& path, const std::uint8_t* bgrRows, int width, int height, int rowStride) {
  if (width <= 0 || height <= 0 || rowStride < width) return false;
  if (!HasPngExtension(path)) return SaveBmp24(path, bgrRows, width, height, rowStride);

  // Top row first, opaque, except the sprite colour key's signature (green 0, blue 128),
  // which is written as a transparent texel.
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* source = bgrRows + static_cast<std::size_t>(height - 1 - y) * rowStride * 3;
    std::uint8_t* target = bgra.data() + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, source += 3, target += 4) {
      if (source[1] == 0 && source[0] == 128) {
        target[0] = 255;  // blue
        target[1] = 0;
        target[2] = 0;
        target[3] = 0;
      } else {
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
        target[3] = 255;
      }
    }
  }
  return SavePng(path, bgra.data(), width, height);
}
