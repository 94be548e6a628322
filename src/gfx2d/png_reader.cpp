#include "gfx2d/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

struct PngReadState {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<png_bytep> rowPointers;
  std::vector<std::uint8_t> rows;

  ~PngReadState() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    if (file != nullptr) std::fclose(file);
  }
};

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp; the error text is not shown, the load just fails.
void RaiseError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

enum class Outcome { kDecoded, kRefused };

// Everything that can longjmp happens in here; state lives in the caller so nothing with
// a destructor is skipped by the jump.
Outcome DecodeRows(PngReadState& state, const char* path, int& channels, png_uint_32& width, png_uint_32& height) {
  if (setjmp(png_jmpbuf(state.png))) return Outcome::kRefused;

  png_init_io(state.png, state.file);
  png_set_user_limits(state.png, kMaxImageSide, kMaxImageSide);
  png_read_info(state.png, state.info);

  png_set_palette_to_rgb(state.png);
  png_set_expand_gray_1_2_4_to_8(state.png);
  if (png_get_valid(state.png, state.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(state.png);
  png_set_strip_16(state.png);
  png_set_packing(state.png);
  png_set_interlace_handling(state.png);
  png_read_update_info(state.png, state.info);

  width = png_get_image_width(state.png, state.info);
  height = png_get_image_height(state.png, state.info);
  const int bitDepth = png_get_bit_depth(state.png, state.info);
  const int colourType = png_get_color_type(state.png, state.info);
  if (bitDepth != 8) {
    std::printf("File %s has bit depth %d.\n", path, bitDepth);
    std::printf("Only bit depth of 8 is supported.\n");
    return Outcome::kRefused;
  }
  if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA) return Outcome::kRefused;
  if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB &&
      colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
    std::printf("File %s has unsupported color type.\n", path);
    std::printf("Types GRAY, RGB and RGB_ALPHA are supported.\n");
    return Outcome::kRefused;
  }
  channels = png_get_channels(state.png, state.info);
  const std::size_t rowBytes = png_get_rowbytes(state.png, state.info);
  if (width == 0 || height == 0 || rowBytes < static_cast<std::size_t>(width) * channels) return Outcome::kRefused;

  state.rows.resize(rowBytes * height);
  state.rowPointers.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) state.rowPointers[y] = state.rows.data() + rowBytes * y;
  png_read_image(state.png, state.rowPointers.data());
  png_read_end(state.png, nullptr);
  return Outcome::kDecoded;
}

}  // namespace

bool LoadPng(const char* path, std::int32_t colourKey, ImageBuffer& image) {
  image.Clear();
  PngReadState state;
  state.file = std::fopen(path, "rb");
  if (state.file == nullptr) return false;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
  if (state.png == nullptr) return false;
  state.info = png_create_info_struct(state.png);
  if (state.info == nullptr) return false;

  int channels = 0;
  png_uint_32 width = 0, height = 0;
  if (DecodeRows(state, path, channels, width, height) != Outcome::kDecoded) return false;

  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  image.pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
  for (png_uint_32 y = 0; y < height; ++y) {
    const std::uint8_t* source = state.rowPointers[y];
    for (png_uint_32 x = 0; x < width; ++x, source += channels) {
      std::uint8_t* target = image.Pixel(static_cast<int>(x), static_cast<int>(y));
      if (channels == 4) {
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
        target[3] = source[3];
      } else if (channels == 3) {
        if (colourKey != kNoColourKey && PackColour(source[0], source[1], source[2]) == colourKey) continue;
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
        target[3] = 255;
      } else {
        target[0] = target[1] = target[2] = source[0];
        target[3] = 255;
      }
    }
  }
  return true;
}
