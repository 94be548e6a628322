#include "gfx2d/texture_image.h"

#include <gtest/gtest.h>

namespace {

ImageBuffer Solid(int width, int height, std::array<std::uint8_t, 4> rgba) {
  ImageBuffer image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), rgba.begin(), rgba.end());
  return image;
}

TEST(TextureImage, PaddedSizesArePowersOfTwoOfAtLeastTwo) {
  EXPECT_EQ(PaddedTextureSize(1), 2);
  EXPECT_EQ(PaddedTextureSize(2), 2);
  EXPECT_EQ(PaddedTextureSize(3), 4);
  EXPECT_EQ(PaddedTextureSize(60), 64);
  EXPECT_EQ(PaddedTextureSize(100), 128);
  EXPECT_EQ(PaddedTextureSize(512), 512);
}

TEST(TextureImage, PictureBottomRowLandsInTextureRowZero) {
  ImageBuffer image = Solid(1, 3, {0, 0, 0, 255});
  image.Pixel(0, 0)[0] = 10;  // top
  image.Pixel(0, 2)[0] = 30;  // bottom
  const TextureBuffer buffer = BuildTextureBuffer(image, 0, 0, 1, 3, 2, 4);
  EXPECT_EQ(buffer.Texel(0, 0)[0], 30);
  EXPECT_EQ(buffer.Texel(0, 2)[0], 10);
  EXPECT_EQ(buffer.Texel(1, 0)[3], 0);  // padding is transparent
  EXPECT_EQ(buffer.Texel(0, 3)[3], 0);
}

TEST(TextureImage, RegionsReachingPastThePictureArePaddedTransparent) {
  const ImageBuffer image = Solid(3, 3, {5, 5, 5, 255});
  const TextureBuffer tile = BuildTextureBuffer(image, 2, 2, 4, 4, 4, 4);
  EXPECT_EQ(tile.Texel(0, 3)[3], 255);  // the picture's pixel (2, 2) at the tile's top left
  EXPECT_EQ(tile.Texel(1, 3)[3], 0);
  EXPECT_EQ(tile.Texel(0, 2)[3], 0);
}

TEST(TextureImage, TransparentTexelsTakeTheAverageOfOpaqueInnerNeighbours) {
  TextureBuffer buffer;
  buffer.width = buffer.height = 4;
  buffer.texels.assign(4 * 4 * 4, 0);
  auto set = [&](int x, int y, std::uint8_t red) {
    std::uint8_t* texel = buffer.Texel(x, y);
    texel[0] = red;
    texel[3] = 255;
  };
  set(1, 1, 100);
  set(2, 1, 51);
  set(0, 0, 250);  // on the border: never a source
  BleedTransparentTexels(buffer);
  EXPECT_EQ(buffer.Texel(1, 2)[0], 75);  // (100 + 51) / 2 truncated
  EXPECT_EQ(buffer.Texel(1, 2)[3], 0);
  EXPECT_EQ(buffer.Texel(0, 1)[0], 100);  // only (1, 1) is an inner opaque neighbour
  EXPECT_EQ(buffer.Texel(3, 3)[0], 0);   // no opaque inner neighbour at all
  EXPECT_EQ(buffer.Texel(0, 0)[0], 250);  // opaque texels are untouched
}

TEST(TextureImage, FlatHeightGivesAnUpwardNormal) {
  TextureBuffer buffer;
  buffer.width = buffer.height = 2;
  buffer.texels.assign(2 * 2 * 4, 200);
  ConvertToNormalMap(buffer);
  EXPECT_EQ(buffer.Texel(0, 0)[0], 127);
  EXPECT_EQ(buffer.Texel(0, 0)[1], 127);
  EXPECT_EQ(buffer.Texel(0, 0)[2], 255);
  EXPECT_EQ(buffer.Texel(0, 0)[3], 200);
}

TEST(TextureImage, SlopeTowardsPositiveXTiltsTheNormal) {
  TextureBuffer buffer;
  buffer.width = buffer.height = 4;
  buffer.texels.assign(4 * 4 * 4, 0);
  for (int y = 0; y < 4; ++y) buffer.Texel(2, y)[2] = 255;  // a ridge in column 2
  ConvertToNormalMap(buffer);
  EXPECT_LT(buffer.Texel(1, 1)[0], 127);  // left of the ridge: sx negative
  EXPECT_GT(buffer.Texel(3, 1)[0], 127);
}

TEST(TextureImage, MipmapChainReachesOneByOneWithWeightedAverages) {
  TextureBuffer level;
  level.width = 8;
  level.height = 2;
  level.texels.assign(8 * 2 * 4, 90);
  int levels = 1;
  while (level.width > 1 || level.height > 1) {
    level = NextMipmapLevel(level);
    ++levels;
    for (std::uint8_t value : level.texels) ASSERT_EQ(value, 90);  // a flat picture stays flat
  }
  EXPECT_EQ(levels, 4);  // 8x2, 4x1, 2x1, 1x1

  TextureBuffer square;
  square.width = square.height = 2;
  square.texels = {90, 0, 0, 0, 0, 90, 0, 0, 0, 0, 90, 0, 0, 0, 0, 90};
  const TextureBuffer next = NextMipmapLevel(square);
  EXPECT_EQ(next.texels, (std::vector<std::uint8_t>{40, 20, 20, 10}));
}

}  // namespace
