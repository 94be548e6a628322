// 2D drawing checked by reading pixels back from the offscreen GL surface.

#include <gtest/gtest.h>

#include "gfx2d/background_commands.h"
#include "gfx2d/collision.h"
#include "gfx2d/drawing_state.h"
#include "gfx2d/polygon_drawing.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/sprite_drawing.h"
#include "gfx2d/texture_commands.h"
#include "host/frame_present.h"
#include "picture_files.h"
#include "support/renderer_fixture.h"
#include "support/scratch_directory.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;
constexpr Pixel kGreen{0, 255, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
constexpr double kRedColour = 255;
constexpr double kWhiteColour = 0xFFFFFF;

class Drawing2D : public RendererFixture {
 protected:
  void SetUp() override {
    RendererFixture::SetUp();
    renderer->frameInterval = 0;  // no pacing wait in PresentFrame
    Engine().pauseWhenInactive = 0;  // the offscreen window never has the focus
    SetAlphaMode(0);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void Load(int slot, int width, int height, const std::function<Rgb(int, int)>& colourAt) {
    const std::string path = scratch.Path() + "/sprite" + std::to_string(slot) + ".bmp";
    WriteBmp(path, width, height, colourAt);
    LoadSprite(BasicString(path.c_str()), slot);
    ASSERT_FALSE(renderer->textures.slots[static_cast<std::size_t>(slot)].IsEmpty());
  }
  static Rgb Solid(Rgb colour, int, int) { return colour; }
  int CountPixels(int x0, int y0, int x1, int y1, Pixel colour) {
    int count = 0;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) count += PixelAt(x, y) == colour;
    }
    return count;
  }

  ScratchDirectory scratch;
};

TEST_F(Drawing2D, DrawSpriteRoundsItsPositionUp) {
  Load(0, 4, 4, [](int, int) { return Rgb{255, 0, 0}; });
  DrawSprite(0, 10.2, 5.5);
  EXPECT_EQ(PixelAt(11, 6), kRed);
  EXPECT_EQ(PixelAt(14, 9), kRed);
  EXPECT_EQ(PixelAt(10, 6), kBlack);
  EXPECT_EQ(PixelAt(11, 5), kBlack);
  EXPECT_EQ(PixelAt(15, 9), kBlack);
  EXPECT_EQ(PixelAt(11, 10), kBlack);
}

TEST_F(Drawing2D, SpritesDrawRightAfterTheGameUsedTheSecondTextureUnit) {
  const auto activeTexture = renderer->extensions.glActiveTextureARB;
  if (activeTexture == nullptr) GTEST_SKIP() << "no multitexturing";
  Load(0, 4, 4, [](int, int) { return Rgb{255, 0, 0}; });
  Load(1, 4, 4, [](int, int) { return Rgb{0, 255, 0}; });
  DrawSprite(0, 0, 0);
  // The game's own GL code binds a green texture on both units and leaves unit 1 active
  // and on: a sprite bound to the wrong unit, or modulated by unit 1, would not be red.
  glBindTexture(GL_TEXTURE_2D, GetSpriteTextureName(1));
  activeTexture(GL_TEXTURE1_ARB);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, GetSpriteTextureName(1));
  DrawSprite(0, 20, 20);
  EXPECT_EQ(PixelAt(21, 21), kRed);
  // Two slots on two units, then one slot again.
  BindSpriteTexture(*renderer, 0, 1, false);
  DrawSprite(0, 40, 40);
  EXPECT_EQ(PixelAt(41, 41), kRed);
}

TEST_F(Drawing2D, ColourKeyedPixelsLetTheScreenShowThrough) {
  Load(0, 8, 8, [](int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 6 ? kKeyRgb : Rgb{0, 255, 0}; });
  FillRect2D(0, 0, 40, 40);  // red under the sprite
  DrawSprite(0, 10, 10);
  EXPECT_EQ(PixelAt(10, 10), kGreen);
  EXPECT_EQ(PixelAt(13, 13), kRed);  // keyed centre: the red below shows
}

TEST_F(Drawing2D, NegativeSizesMirrorTheSprite) {
  // Left half red, right half green; top half bright, bottom half dark.
  Load(0, 4, 4, [](int x, int y) {
    const std::uint8_t level = y < 2 ? 255 : 100;
    return x < 2 ? Rgb{level, 0, 0} : Rgb{0, level, 0};
  });
  DrawSpriteStretched(0, 20, 10, -4, 4);  // covers x 16..19, mirrored left to right
  EXPECT_EQ(PixelAt(16, 10), kGreen);
  EXPECT_EQ(PixelAt(19, 10), kRed);
  DrawSpriteStretched(0, 40, 40, -4, -4);  // covers 36..39 x 36..39, turned by 180 degrees
  EXPECT_EQ(PixelAt(36, 36), (Pixel{0, 100, 0, 255}));
  EXPECT_EQ(PixelAt(39, 39), kRed);
  DrawSpriteStretched(0, 60, 60, 8, 8);
  EXPECT_EQ(PixelAt(61, 61), kRed);
  EXPECT_EQ(PixelAt(66, 66), (Pixel{0, 100, 0, 255}));
}

TEST_F(Drawing2D, ZoomScalesAboutTheCentre) {
  Load(0, 4, 4, [](int, int) { return Rgb{255, 0, 0}; });
  DrawSpriteZoomed(0, 100, 100, 2, 2);  // 8 x 8 from 98 to 105
  EXPECT_EQ(PixelAt(98, 98), kRed);
  EXPECT_EQ(PixelAt(105, 105), kRed);
  EXPECT_EQ(PixelAt(97, 98), kBlack);
  EXPECT_EQ(PixelAt(106, 105), kBlack);
}

TEST_F(Drawing2D, RotationTurnsAboutTheSpritesCentre) {
  Load(0, 16, 4, [](int, int) { return Rgb{255, 0, 0}; });  // a horizontal bar, centre (108, 102)
  DrawSpriteRotated(0, 100, 100, 90);
  EXPECT_EQ(PixelAt(108, 96), kRed);  // now vertical through the same centre
  EXPECT_EQ(PixelAt(108, 108), kRed);
  EXPECT_EQ(PixelAt(101, 102), kBlack);
  EXPECT_EQ(PixelAt(115, 102), kBlack);
}

TEST_F(Drawing2D, RectanglesCoverBothCornersInAnyOrder) {
  DrawRect(10, 10, 5, 5, kRedColour);
  EXPECT_EQ(CountPixels(0, 0, 20, 20, kRed), 36);
  EXPECT_EQ(PixelAt(5, 5), kRed);
  EXPECT_EQ(PixelAt(10, 10), kRed);
  glClear(GL_COLOR_BUFFER_BIT);
  DrawRect(5, 5, 10, 10, kRedColour);
  EXPECT_EQ(CountPixels(0, 0, 20, 20, kRed), 36);
}

TEST_F(Drawing2D, LinesIncludeBothEndPixels) {
  DrawLine(0, 0, 3, 0, kRedColour);
  EXPECT_EQ(CountPixels(0, 0, 6, 2, kRed), 4);
  EXPECT_EQ(PixelAt(3, 0), kRed);
  SetPixel(20, 30, 0x00FF00);
  EXPECT_EQ(PixelAt(20, 30), kGreen);
  EXPECT_EQ(CountPixels(18, 28, 22, 32, kGreen), 1);
}

TEST_F(Drawing2D, SolidPrimitivesInTheSpriteKeyAreInvisibleWhenBlending) {
  SetAlphaMode(-1);
  DrawRect(0, 0, 9, 9, 0x8000FF);
  EXPECT_EQ(PixelAt(5, 5), kBlack);
  SetAlphaMode(0);
  DrawRect(0, 0, 9, 9, 0x8000FF);
  EXPECT_EQ(PixelAt(5, 5), (Pixel{255, 0, 128, 255}));
}

TEST_F(Drawing2D, AlphaModesBlendHalfOrAdd) {
  SetAlphaMode(-0.5);
  DrawRect(0, 0, 9, 9, kWhiteColour);
  const Pixel half = PixelAt(5, 5);
  EXPECT_NEAR(half[0], 64, 2);  // colour and opacity both scaled by 0.5
  SetAlphaMode(2);              // additive at full intensity
  EXPECT_FLOAT_EQ(renderer->currentAlpha, 1.0f);
  DrawRect(20, 0, 29, 9, kRedColour);
  DrawRect(20, 0, 29, 9, 0x00FF00);
  EXPECT_EQ(PixelAt(25, 5), (Pixel{255, 255, 0, 255}));
}

TEST_F(Drawing2D, PolygonsUsePerVertexColour) {
  StartPolygon(-1);
  // Counter-clockwise on screen, as every front face.
  AddPolygonVertex(10, 10, 0, 0, 0x0000FF);
  AddPolygonVertex(10, 50, 0, 0, 0xFF0000);
  AddPolygonVertex(50, 50, 0, 0, 0xFF0000);
  AddPolygonVertex(50, 10, 0, 0, 0x0000FF);
  EndPolygon();
  const Pixel top = PixelAt(30, 11), bottom = PixelAt(30, 48);
  EXPECT_GT(top[0], 200);
  EXPECT_LT(top[2], 40);
  EXPECT_GT(bottom[2], 200);
  EXPECT_EQ(PixelAt(5, 5), kBlack);
}

TEST_F(Drawing2D, TexturedPolygonsMapPicturePositions) {
  Load(1, 4, 4, [](int, int y) { return y < 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
  StartPolygon(1);
  AddPolygonVertex(0, 0, 0, 0, kWhiteColour);
  AddPolygonVertex(0, 40, 0, 4, kWhiteColour);
  AddPolygonVertex(40, 40, 4, 4, kWhiteColour);
  AddPolygonVertex(40, 0, 4, 0, kWhiteColour);
  EndPolygon();
  EXPECT_EQ(PixelAt(20, 12), kRed);  // v counts from the picture's top
  EXPECT_EQ(PixelAt(20, 28), kBlue);
}

TEST_F(Drawing2D, BackgroundIsRepaintedUnderEveryFrame) {
  const std::string path = scratch.Path() + "/back.bmp";
  WriteBmp(path, 640, 480, [](int, int) { return Rgb{0, 0, 255}; });
  LoadBackground(BasicString(path.c_str()));
  EXPECT_EQ(PixelAt(320, 240), kBlue);
  PresentFrame();
  EXPECT_EQ(PixelAt(320, 240), kBlue);
  ClearBackground();
  EXPECT_EQ(PixelAt(320, 240), kBlack);
  PresentFrame();
  EXPECT_EQ(PixelAt(320, 240), kBlack);
  LoadBackground(BasicString("no-such-picture.bmp"));
  EXPECT_EQ(renderer->textures.backgrounds[0].columns, 0);
}

TEST_F(Drawing2D, FadeEndsOnTheNewPicture) {
  const std::string path = scratch.Path() + "/fade.bmp";
  WriteBmp(path, 64, 64, [](int, int) { return Rgb{0, 255, 0}; });
  // Paced as a game is: unpaced, the software rasterizer would queue thousands of frames.
  renderer->frameInterval = 1000.0 / 60;
  EXPECT_EQ(FadeInBackground(BasicString(path.c_str())), 1);
  PresentFrame();
  EXPECT_EQ(PixelAt(10, 10), kGreen);  // the new picture is now the background of every frame
  EXPECT_EQ(renderer->textures.backgrounds[1].columns, 0);
  EXPECT_EQ(FadeInBackground(BasicString("missing.bmp")), 0);
}

TEST_F(Drawing2D, ViewportMovesTheOrigin) {
  SetViewport(100, 50, 200, 100);
  DrawRect(0, 0, 1, 1, kRedColour);
  EXPECT_EQ(PixelAt(100, 50), kRed);
  EXPECT_EQ(PixelAt(99, 50), kBlack);
  double width = 0, height = 0;
  GetScreenSize(width, height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
}

TEST(BoxCollisionTest, TouchingRectanglesCollide) {
  EXPECT_EQ(BoxCollision(0, 0, 10, 10, 10, 0, 5, 5), 1);
  EXPECT_EQ(BoxCollision(0, 0, 10, 10, 10.5, 0, 5, 5), 0);
  EXPECT_EQ(BoxCollision(10, 10, -10, -10, 2, 2, 1, 1), 1);  // negative sizes span backwards
  EXPECT_EQ(BoxCollision(0, 0, 10, 10, 0, 11, 10, 10), 0);
}

TEST_F(Drawing2D, SpriteCollisionTestsOpaquePixelsOnly) {
  Load(0, 8, 8, [](int, int) { return Rgb{255, 0, 0}; });
  // A ring: opaque border, keyed inside.
  Load(1, 8, 8, [](int x, int y) { return x == 0 || y == 0 || x == 7 || y == 7 ? Rgb{0, 255, 0} : kKeyRgb; });
  EXPECT_EQ(SpriteCollision(0, 0, 0, 0, 8, 0), 0);   // edge to edge
  EXPECT_EQ(SpriteCollision(0, 0, 0, 0, 7, 7), 1);   // one pixel of overlap
  EXPECT_EQ(SpriteCollision(0, 0, 0, 1, 6, 0), 1);   // a column of the ring's border
  // Slot 0 at (2, 2) is 8 x 8; the ring at (1, 1) has its border at x 1 and 8, y 1 and 8.
  EXPECT_EQ(SpriteCollision(0, 2, 2, 1, 1, 1), 1);
  Load(2, 4, 4, [](int, int) { return Rgb{255, 0, 0}; });
  EXPECT_EQ(SpriteCollision(2, 3, 3, 1, 0, 0), 0);    // entirely over the keyed inside
  EXPECT_EQ(SpriteCollision(2, 3, 3, 1, 0, 0), 0);    // masks are reused
  EXPECT_EQ(SpriteCollision(5, 0, 0, 1, 0, 0), 0);    // an empty slot
}

TEST(SpriteMasks, OverlapFoundWhereverItIs) {
  // Two 6 x 6 masks overlapping in a 3 x 3 square with a single common pixel.
  std::vector<std::uint8_t> first(8 * 8, 0), second(8 * 8, 0);
  const PlacedMask a{first.data(), 8, 0, 0, 6, 6};
  const PlacedMask b{second.data(), 8, 3, 3, 6, 6};
  EXPECT_FALSE(MasksOverlap(a, b));
  for (int screenY = 3; screenY < 6; ++screenY) {
    for (int screenX = 3; screenX < 6; ++screenX) {
      std::fill(first.begin(), first.end(), 0);
      std::fill(second.begin(), second.end(), 0);
      first[static_cast<std::size_t>(0 + 6 - 1 - screenY) * 8 + screenX] = 1;
      second[static_cast<std::size_t>(3 + 6 - 1 - screenY) * 8 + (screenX - 3)] = 1;
      EXPECT_TRUE(MasksOverlap(a, b)) << screenX << "," << screenY;
    }
  }
}

}  // namespace
