#include "gfx2d/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

namespace {

// Deflate never expands by more than 1032 to 1, so a file of n bytes cannot hold more
// than 1032 * n bytes of pixel data. A header that claims more is refused before any
// picture memory is committed.
constexpr std::uint64_t kInflateMaxRatio = 1032;
// Ancillary chunks the decoding never uses are skipped unread: libpng would otherwise
// buffer a text or profile chunk whole, at whatever length a damaged file states (its
// own size check there only warns). Entries are four letters and a terminating zero.
constexpr png_byte kSkippedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;
// What libpng may still buffer for one chunk it keeps.
constexpr png_alloc_size_t kChunkMemoryLimit = 8u << 20;

struct PngReadState {
  std::FILE* file = nullptr;
  std::uint64_t fileSize = 0;
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

// The bytes of pixel data (filter bytes not counted) the header says the file carries,
// read before any transformation.
std::uint64_t StatedPixelBytes(png_structp png, png_infop info) {
  const std::uint64_t bitsPerPixel =
      static_cast<std::uint64_t>(png_get_bit_depth(png, info)) * png_get_channels(png, info);
  const std::uint64_t rowBytes = (png_get_image_width(png, info) * bitsPerPixel + 7) / 8;
  return rowBytes * png_get_image_height(png, info);
}

// One decoded row of 1 (grey), 3 (RGB) or 4 (RGBA) channels into row y of the image. In
// RGB rows, pixels equal to the colour key stay (0, 0, 0, 0).
void ConvertRow(const std::uint8_t* source, int channels, std::int32_t colourKey, ImageBuffer& image, int y) {
  for (int x = 0; x < image.width; ++x, source += channels) {
    std::uint8_t* target = image.Pixel(x, y);
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

// Everything that can longjmp happens in here; state lives in the caller so nothing with
// a destructor is skipped by the jump.
Outcome DecodeRows(PngReadState& state, const char* path, std::int32_t colourKey, ImageBuffer& image) {
  if (setjmp(png_jmpbuf(state.png))) return Outcome::kRefused;

  png_init_io(state.png, state.file);
  png_set_user_limits(state.png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(state.png, kChunkMemoryLimit);
  png_set_keep_unknown_chunks(state.png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(state.png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Fuzz builds take damaged checksums, so mutated files get past them to the decoder.
  png_set_crc_action(state.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(state.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
#endif
  png_read_info(state.png, state.info);
  if (StatedPixelBytes(state.png, state.info) > kInflateMaxRatio * state.fileSize) return Outcome::kRefused;

  png_set_palette_to_rgb(state.png);
  png_set_expand_gray_1_2_4_to_8(state.png);
  if (png_get_valid(state.png, state.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(state.png);
  png_set_strip_16(state.png);
  png_set_packing(state.png);
  const int passes = png_set_interlace_handling(state.png);
  png_read_update_info(state.png, state.info);

  const png_uint_32 width = png_get_image_width(state.png, state.info);
  const png_uint_32 height = png_get_image_height(state.png, state.info);
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
  const int channels = png_get_channels(state.png, state.info);
  const std::size_t rowBytes = png_get_rowbytes(state.png, state.info);
  if (width == 0 || height == 0 || rowBytes < static_cast<std::size_t>(width) * channels) return Outcome::kRefused;

  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  const std::size_t imageRowBytes = static_cast<std::size_t>(width) * 4;
  if (passes == 1) {
    // Rows are decoded one at a time and the picture grows with them, so a header that
    // promises more rows than the data holds costs only the rows that really arrive.
    state.rows.resize(rowBytes);
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(state.png, state.rows.data(), nullptr);
      image.pixels.resize(imageRowBytes * (y + 1));
      ConvertRow(state.rows.data(), channels, colourKey, image, static_cast<int>(y));
    }
  } else {
    // Interlaced passes revisit every row, so the whole picture is held; the size check
    // against the file above bounds it.
    state.rows.resize(rowBytes * height);
    state.rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state.rowPointers[y] = state.rows.data() + rowBytes * y;
    png_read_image(state.png, state.rowPointers.data());
    image.pixels.resize(imageRowBytes * height);
    for (png_uint_32 y = 0; y < height; ++y) {
      ConvertRow(state.rowPointers[y], channels, colourKey, image, static_cast<int>(y));
    }
  }
  png_read_end(state.png, nullptr);
  return Outcome::kDecoded;
}

long FileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool Load(const char* path, std::int32_t colourKey, ImageBuffer& image) {
  PngReadState state;
  state.file = std::fopen(path, "rb");
  if (state.file == nullptr) return false;
  const long fileSize = FileSize(state.file);
  if (fileSize < 0) return false;
  state.fileSize = static_cast<std::uint64_t>(fileSize);
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
  if (state.png == nullptr) return false;
  state.info = png_create_info_struct(state.png);
  if (state.info == nullptr) return false;
  return DecodeRows(state, path, colourKey, image) == Outcome::kDecoded;
}

}  // namespace

bool LoadPng(const char* path, std::int32_t colourKey, ImageBuffer& image) {
  image.Clear();
  bool loaded = false;
  try {
    loaded = Load(path, colourKey, image);
  } catch (const std::bad_alloc&) {
    loaded = false;
  }
  if (!loaded) image.Clear();
  return loaded;
}
