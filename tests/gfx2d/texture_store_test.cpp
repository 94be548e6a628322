// The texture slots on a real GL context (offscreen driver): loading, keys, padding,
// edge bleeding, saving and grabbing.

#include "gfx2d/texture_loading.h"

#include <gtest/gtest.h>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/texture_commands.h"
#include "picture_files.h"
#include "support/renderer_fixture.h"
#include "support/scratch_directory.h"

namespace {

class TextureStoreTest : public RendererFixture {
 protected:
  std::string Picture(const std::string& name, int width, int height, const std::function<Rgb(int, int)>& colourAt) {
    const std::string path = scratch.Path() + "/" + name;
    WriteBmp(path, width, height, colourAt);
    return path;
  }
  std::vector<std::uint8_t> TextureTexels(GLuint texture, int width, int height) {
    std::vector<std::uint8_t> texels(static_cast<std::size_t>(width) * height * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
  }
  TextureSlot& Slot(int index) { return renderer->textures.slots[static_cast<std::size_t>(index)]; }

  ScratchDirectory scratch;
};

TEST_F(TextureStoreTest, SpritesArePaddedToPowersOfTwoWithBledKeyTexels) {
  // 100 x 60: grey, with one keyed pixel at (10, 10) whose neighbours are all grey.
  const std::string path = Picture("sprite.bmp", 100, 60, [](int x, int y) {
    return x == 10 && y == 10 ? kKeyRgb : Rgb{90, 90, 90};
  });
  LoadSprite(BasicString(path.c_str()), 3);
  const TextureSlot& slot = Slot(3);
  EXPECT_EQ(slot.paddedWidth, 128);
  EXPECT_EQ(slot.paddedHeight, 64);
  double width = 0, height = 0;
  GetSpriteSize(3, width, height);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(height, 60);
  EXPECT_NE(slot.mipTexture, 0u);
  const std::vector<std::uint8_t> texels = TextureTexels(slot.texture, 128, 64);
  // Picture row 10 from the top is texture row 60 - 1 - 10.
  const std::uint8_t* keyed = &texels[(static_cast<std::size_t>(49) * 128 + 10) * 4];
  EXPECT_EQ(keyed[3], 0);
  EXPECT_EQ(keyed[0], 90);  // the averaged colour of its opaque neighbours
  const std::uint8_t* padding = &texels[(static_cast<std::size_t>(0) * 128 + 110) * 4];
  EXPECT_EQ(padding[3], 0);
}

TEST_F(TextureStoreTest, OnePixelPictureGetsATwoTexelTexture) {
  LoadSprite(BasicString(Picture("dot.bmp", 1, 1, [](int, int) { return Rgb{1, 2, 3}; }).c_str()), 0);
  EXPECT_EQ(Slot(0).paddedWidth, 2);
  EXPECT_EQ(Slot(0).paddedHeight, 2);
  EXPECT_EQ(Slot(0).imageWidth, 1);
}

TEST_F(TextureStoreTest, BlackIsOpaqueInSpritesAndTransparentInFonts) {
  const std::string path = Picture("black.bmp", 2, 2, [](int, int) { return Rgb{0, 0, 0}; });
  LoadSprite(BasicString(path.c_str()), 5);
  EXPECT_EQ(TextureTexels(Slot(5).texture, 2, 2)[3], 255);
  ASSERT_TRUE(LoadTextureSlot(*renderer, TextureStore::kFirstFontSlot, path.c_str(), renderer->textures.fontKey, false));
  const TextureSlot& font = Slot(TextureStore::kFirstFontSlot);
  EXPECT_EQ(TextureTexels(font.texture, 2, 2)[3], 0);
  EXPECT_EQ(font.mipTexture, 0u);  // fonts: no mipmaps, nearest filtering
  GLint filter = 0;
  glBindTexture(GL_TEXTURE_2D, font.texture);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
  EXPECT_EQ(filter, GL_NEAREST);
}

TEST_F(TextureStoreTest, TransparentColourMinusOneDisablesKeying) {
  SetTransparentColour(-1);
  const std::string path = Picture("key.bmp", 2, 2, [](int, int) { return kKeyRgb; });
  LoadSprite(BasicString(path.c_str()), 1);
  EXPECT_EQ(TextureTexels(Slot(1).texture, 2, 2)[3], 255);
  EXPECT_EQ(renderer->textures.fontKey, -1);
}

TEST_F(TextureStoreTest, AFailedLoadLeavesTheSlotEmpty) {
  LoadSprite(BasicString(Picture("a.bmp", 4, 4, [](int, int) { return Rgb{9, 9, 9}; }).c_str()), 7);
  ASSERT_FALSE(Slot(7).IsEmpty());
  LoadSprite(BasicString((scratch.Path() + "/missing.bmp").c_str()), 7);
  EXPECT_TRUE(Slot(7).IsEmpty());
  EXPECT_EQ(Slot(7).texture, 0u);
  scratch.WriteFile("broken.bmp", "BM not really");
  LoadSprite(BasicString((scratch.Path() + "/broken.bmp").c_str()), 7);
  EXPECT_TRUE(Slot(7).IsEmpty());
  LoadSprite(BasicString(scratch.Path().c_str()), 7);  // a directory
  EXPECT_TRUE(Slot(7).IsEmpty());
  // Wider than any texture the implementation takes: refused, the slot stays empty.
  const int tooWide = MaxTextureSize() + 1;
  if (tooWide <= kMaxImageSide) {
    LoadSprite(BasicString(Picture("wide.bmp", tooWide, 1, [](int, int) { return Rgb{1, 1, 1}; }).c_str()), 7);
    EXPECT_TRUE(Slot(7).IsEmpty());
  }
  LoadSprite(BasicString("a.bmp"), 70000);  // no such slot: nothing happens
  LoadSprite(BasicString("a.bmp"), -1);
}

TEST_F(TextureStoreTest, BumpMapsAreNormalMaps) {
  const std::string path = Picture("flat.bmp", 4, 4, [](int, int) { return Rgb{0, 0, 200}; });
  ASSERT_EQ(LoadBumpMap(BasicString(path.c_str()), 2), 1);
  const std::vector<std::uint8_t> texels = TextureTexels(Slot(2).texture, 4, 4);
  EXPECT_EQ(texels[0], 127);
  EXPECT_EQ(texels[2], 255);
  EXPECT_EQ(LoadBumpMap(BasicString("missing.bmp"), 2), 0);
}

TEST_F(TextureStoreTest, SavedSpriteReadsBackAsTheLoadedPicture) {
  const auto colour = [](int x, int y) { return Rgb{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 50), 7}; };
  LoadSprite(BasicString(Picture("in.bmp", 5, 3, colour).c_str()), 4);
  const std::string saved = scratch.Path() + "/out.bmp";
  ASSERT_EQ(SaveSprite(4, BasicString(saved.c_str())), 1);
  ImageBuffer image;
  ASSERT_TRUE(LoadBmp(saved.c_str(), kNoColourKey, image));
  ASSERT_EQ(image.width, 5);
  ASSERT_EQ(image.height, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(image.Pixel(x, y)[0], colour(x, y)[0]);
      EXPECT_EQ(image.Pixel(x, y)[1], colour(x, y)[1]);
    }
  }
  EXPECT_EQ(SaveSprite(9, BasicString(saved.c_str())), 0);  // an empty slot
}

TEST_F(TextureStoreTest, GrabbedScreenRectangleBecomesASprite) {
  FillRect2D(10, 20, 4, 4);  // red
  ASSERT_EQ(GrabSprite(6, 10, 20, 8, 4), 1);
  EXPECT_EQ(Slot(6).paddedWidth, 32);
  EXPECT_EQ(Slot(6).imageWidth, 8);
  const std::vector<std::uint8_t> texels = TextureTexels(Slot(6).texture, 32, 32);
  EXPECT_EQ(texels[0], 255);       // (0, 0): the grabbed bottom-left is red
  EXPECT_EQ(texels[5 * 4], 0);     // column 5 was black
  EXPECT_EQ(GrabSprite(6, 0, 0, 0, 4), 0);
}

TEST_F(TextureStoreTest, SavedScreenHoldsThePresentedFrame) {
  FillRect2D(0, 0, 640, 480);
  SDL_GL_SwapWindow(renderer->window);
  const std::string saved = scratch.Path() + "/screen.png";
  ASSERT_EQ(SaveScreen(BasicString(saved.c_str())), 1);
  EXPECT_EQ(GetPixel(5, 5), 255);
}

TEST_F(TextureStoreTest, BackgroundsWiderThanATileAreDrawnFromTiles) {
  const std::string path = Picture("wide.bmp", 600, 40, [](int x, int) { return x < 550 ? Rgb{0, 0, 200} : Rgb{0, 200, 0}; });
  ASSERT_TRUE(LoadBackgroundSet(*renderer, 0, path.c_str()));
  EXPECT_EQ(renderer->textures.backgrounds[0].columns, 2);
  EXPECT_EQ(renderer->textures.backgrounds[0].rows, 1);
  DrawBackgroundSet(*renderer, 0);
  EXPECT_EQ(PixelAt(100, 10), (Pixel{0, 0, 200, 255}));
  EXPECT_EQ(PixelAt(580, 10), (Pixel{0, 200, 0, 255}));
  EXPECT_EQ(PixelAt(580, 45), kBlack);  // below the picture the tile is transparent
}

}  // namespace
