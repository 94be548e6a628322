// Draws the demo game's two pictures into a folder as 24-bit BMP files:
//   "Vantrel_file.bmp": a 640 x 480 background, dusk over layered hills;
//   "vt2.bmp": a 128 x 96 ship sprite on the colour key 0x8000FF (red 255, green 0,
//              blue 128), which the sprite loader turns into transparency.
// Everything is computed, so the build can redraw them and the pictures are our own.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Colour {
  int red, green, blue;
};

constexpr Colour kColourKey{255, 0, 128};

class Picture {
 public:
  Picture(int width, int height, Colour fill) : width_(width), height_(height), pixels_(width * height, fill) {}
  void Set(int x, int y, Colour colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = colour;
  }
  Colour Get(int x, int y) const { return pixels_[y * width_ + x]; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Uncompressed 24-bit BMP, bottom row first, rows padded to 4 bytes.
  bool Save(const std::string& path) const {
    const int rowSize = (width_ * 3 + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(rowSize * height_);
    std::vector<unsigned char> file(54 + imageSize, 0);
    const auto put32 = [&](int at, std::uint32_t value) {
      for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width_));
    put32(22, static_cast<std::uint32_t>(height_));
    file[26] = 1;
    file[28] = 24;
    put32(34, imageSize);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < height_; ++y) {
      unsigned char* row = &file[54 + static_cast<std::size_t>(height_ - 1 - y) * rowSize];
      for (int x = 0; x < width_; ++x) {
        const Colour c = Get(x, y);
        row[x * 3 + 0] = static_cast<unsigned char>(c.blue);
        row[x * 3 + 1] = static_cast<unsigned char>(c.green);
        row[x * 3 + 2] = static_cast<unsigned char>(c.red);
      }
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
  }

 private:
  int width_, height_;
  std::vector<Colour> pixels_;
};

Colour Mix(Colour a, Colour b, double t) {
  t = std::fmin(1.0, std::fmax(0.0, t));
  return {static_cast<int>(a.red + (b.red - a.red) * t), static_cast<int>(a.green + (b.green - a.green) * t),
          static_cast<int>(a.blue + (b.blue - a.blue) * t)};
}

// A small deterministic generator, so every build draws the same stars.
std::uint32_t NextRandom(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

Picture DrawBackground() {
  const int width = 640, height = 480;
  Picture picture(width, height, {0, 0, 0});
  const Colour zenith{12, 16, 52}, horizon{236, 128, 84};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.Set(x, y, Mix(zenith, horizon, y / 330.0));
  }
  std::uint32_t seed = 20240611u;
  for (int i = 0; i < 140; ++i) {
    const int x = static_cast<int>(NextRandom(seed) % width);
    const int y = static_cast<int>(NextRandom(seed) % 220);
    picture.Set(x, y, Mix(picture.Get(x, y), {255, 255, 230}, 1.0 - y / 260.0));
  }
  // A large pale moon with a soft rim.
  const double moonX = 470, moonY = 120, moonRadius = 46;
  for (int y = 60; y < 180; ++y) {
    for (int x = 410; x < 530; ++x) {
      const double distance = std::hypot(x - moonX, y - moonY);
      if (distance < moonRadius + 3) {
        picture.Set(x, y, Mix(picture.Get(x, y), {250, 240, 214}, (moonRadius + 3 - distance) / 3.0));
      }
    }
  }
  // Three ranges of hills, each darker and nearer than the last.
  const Colour ranges[3] = {{120, 72, 96}, {70, 44, 74}, {28, 22, 40}};
  for (int range = 0; range < 3; ++range) {
    for (int x = 0; x < width; ++x) {
      const double ridge = 300 + range * 55 + 28 * std::sin(x * (0.011 + range * 0.006) + range * 1.7) +
                           12 * std::sin(x * (0.037 + range * 0.01) + range);
      for (int y = static_cast<int>(ridge); y < height; ++y) {
        picture.Set(x, y, Mix(ranges[range], {8, 8, 16}, (y - ridge) / 400.0));
      }
    }
  }
  return picture;
}

Picture DrawShip() {
  const int width = 128, height = 96;
  Picture picture(width, height, kColourKey);
  const double centreX = 64, centreY = 48;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double dx = (x + 0.5 - centreX) / 60.0, dy = (y + 0.5 - centreY) / 16.0;
      // Swept wings above and below the hull, their tips trailing towards the tail.
      const double span = std::fabs(y + 0.5 - centreY);
      if (span < 44 && x + 0.5 < 84 - span * 0.9 && x + 0.5 > 52 - span * 0.6) {
        picture.Set(x, y, Mix({80, 120, 160}, {30, 50, 80}, span / 44.0));
      }
      // Hull: an ellipse with light from above.
      if (dx * dx + dy * dy < 1.0) picture.Set(x, y, Mix({200, 210, 224}, {90, 100, 120}, (dy + 1.0) / 2.0));
      // Cockpit.
      const double cx = (x + 0.5 - centreX - 18) / 14.0, cy = (y + 0.5 - centreY + 4) / 7.0;
      if (cx * cx + cy * cy < 1.0) picture.Set(x, y, Mix({140, 230, 250}, {20, 90, 140}, (cy + 1.0) / 2.0));
      // Engine glow at the tail.
      const double ex = (x + 0.5 - 6) / 6.0, ey = (y + 0.5 - centreY) / 7.0;
      if (ex * ex + ey * ey < 1.0) picture.Set(x, y, Mix({255, 250, 180}, {250, 120, 30}, ex * ex + ey * ey));
    }
  }
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_pictures FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!DrawBackground().Save(folder + "/Vantrel_file.bmp") || !DrawShip().Save(folder + "/vt2.bmp")) {
    std::fprintf(stderr, "demo_pictures: cannot write the pictures into \"%s\"\n", folder.c_str());
    return 1;
  }
  return 0;
}
