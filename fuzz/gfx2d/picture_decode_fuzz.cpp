// Fuzzes picture decoding through the entry the texture store uses (BMP, then PNG): the
// input is the whole picture file, read once with the default sprite colour key and once
// without a key.

#include <cstdint>
#include <cstdlib>

#include "fuzz_input_file.h"
#include "gfx2d/image_buffer.h"
#include "gfx2d/picture_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzInputFile input("picture.png");
  const char* path = input.Write(data, size);
  for (const std::int32_t key : {kDefaultSpriteKey, kNoColourKey}) {
    ImageBuffer image;
    if (!DecodePicture(path, key, image)) {
      if (!image.pixels.empty()) std::abort();
      continue;
    }
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxImageSide || image.height > kMaxImageSide) {
      std::abort();
    }
    if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) std::abort();
  }
  return 0;
}
