#pragma once
// Writes small 24-bit BMP pictures for the drawing tests.

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

using Rgb = std::array<std::uint8_t, 3>;

// colourAt(x, y) with y from the top.
inline void WriteBmp(const std::string& path, int width, int height, const std::function<Rgb(int, int)>& colourAt) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string data = "BM";
  auto put = [&](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) data += static_cast<char>(value >> (8 * i));
  };
  put(54 + stride * height, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb rgb = colourAt(x, y);
      data += static_cast<char>(rgb[2]);
      data += static_cast<char>(rgb[1]);
      data += static_cast<char>(rgb[0]);
    }
    data.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  std::ofstream(path, std::ios::binary) << data;
}

inline constexpr Rgb kKeyRgb{255, 0, 128};
