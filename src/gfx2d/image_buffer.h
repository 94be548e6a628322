#pragma once
// A decoded picture: RGBA bytes, top row first. Every picture loader produces one and
// every upload to a texture starts from one.

#include <cstddef>
#include <cstdint>
#include <vector>

// Colours cross the command boundary packed as red + green * 256 + blue * 65536.
// kNoColourKey stands for "no colour at all".
inline constexpr std::int32_t kNoColourKey = -1;

// Pictures larger than this on either side are refused by the decoders: no GL
// implementation takes such a texture, and the limit keeps width * height * 4 far from
// overflowing.
inline constexpr std::int32_t kMaxImageSide = 32768;

struct ImageBuffer {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes: R, G, B, A

  bool IsEmpty() const { return width <= 0 || height <= 0; }
  void Clear() {
    width = 0;
    height = 0;
    pixels.clear();
    pixels.shrink_to_fit();
  }
  std::uint8_t* Pixel(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
  const std::uint8_t* Pixel(int x, int y) const {
    return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
  }
};

inline std::int32_t PackColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red + green * 256 + blue * 65536;
}
