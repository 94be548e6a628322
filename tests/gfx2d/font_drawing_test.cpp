// Fonts loaded into their slots and text drawn with them, checked by reading pixels back
// from the offscreen GL surface.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "gfx2d/font_commands.h"
#include "gfx2d/font_store.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/text_drawing.h"
#include "gfx2d/texture_commands.h"
#include "picture_files.h"
#include "support/renderer_fixture.h"
#include "support/scratch_directory.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;
constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kOutline{8, 8, 8, 255};

// The letter A of the built-in font with its outline: 'W' white, 'o' the dark outline,
// '.' transparent.
const std::vector<std::string> kLetterA = {
    "..ooo...",  //
    ".oWWWo..",  //
    ".oWoWo..",  //
    ".oWWWo..",  //
    ".oWoWo..",  //
    ".oWoWo..",  //
    "..o.o...",  //
    "........",
};

// A colour of its own for every cell of a test font picture; never black, which the
// font colour key would drop.
Rgb CellColour(int code) { return Rgb{static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(255 - code), 60}; }

class FontDrawing : public RendererFixture {
 protected:
  void SetUp() override {
    RendererFixture::SetUp();
    SetAlphaMode(0);
    glClear(GL_COLOR_BUFFER_BIT);
    Subsystems().currentFont = 0;
  }
  void TearDown() override {
    Subsystems().currentFont = 0;
    RendererFixture::TearDown();
  }

  // A font picture whose cells (16 per row, cellWidth x cellHeight) each have their own
  // colour.
  std::string CellFont(const std::string& name, int width, int height) {
    const int rows = width < height ? 16 : 8;
    const int cellWidth = width / 16, cellHeight = height / rows;
    const std::string path = scratch.Path() + "/" + name;
    WriteBmp(path, width, height, [&](int x, int y) { return CellColour(x / cellWidth + 16 * (y / cellHeight)); });
    return path;
  }

  static Pixel Expected(Rgb colour) { return Pixel{colour[0], colour[1], colour[2], 255}; }

  // Compares the 8 x 8 pixels from (left, top) with a glyph picture drawn over a red
  // background.
  void ExpectGlyphAt(int left, int top, const std::vector<std::string>& glyph) {
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const char want = glyph[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
        const Pixel expected = want == 'W' ? kWhite : want == 'o' ? kOutline : kRed;
        EXPECT_EQ(PixelAt(left + x, top + y), expected) << "glyph pixel " << x << ", " << y;
      }
    }
  }

  const TextureSlot& FontSlotEntry(int font) const {
    return renderer->textures.slots[static_cast<std::size_t>(FontSlot(font))];
  }

  ScratchDirectory scratch;
};

TEST_F(FontDrawing, BuiltinLetterAIsDrawnExactlyWithItsOutline) {
  LoadFont("", 0);
  double width = 0, height = 0;
  GetFontSize(width, height);
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 8);
  FillRect2D(0, 0, 40, 20);
  PrintText("A", 0.4, 2);  // x 0.4 starts at pixel 1
  ExpectGlyphAt(1, 2, kLetterA);
  EXPECT_EQ(PixelAt(0, 3), kRed);
}

TEST_F(FontDrawing, TextAdvancesByTheCellWidthAndTakesTheAlphaMode) {
  LoadFont("", 0);
  FillRect2D(0, 0, 40, 20);
  PrintText("AA", 10, 5);
  ExpectGlyphAt(10, 5, kLetterA);
  ExpectGlyphAt(18, 5, kLetterA);

  glClear(GL_COLOR_BUFFER_BIT);
  SetAlphaMode(-0.5);  // half transparent over black
  PrintText("A", 0, 0);
  const Pixel lit = PixelAt(2, 1);
  EXPECT_NEAR(lit[0], 64, 2);  // colour and opacity both scaled by 0.5
  EXPECT_NEAR(lit[1], 64, 2);
}

TEST_F(FontDrawing, WidePictureHasEightRowsAndWrapsCode200ToCell72) {
  LoadFont(CellFont("wide.bmp", 256, 128).c_str(), 3);
  EXPECT_EQ(Subsystems().currentFont, 3);
  double width = 0, height = 0;
  GetFontSize(width, height);
  EXPECT_EQ(width, 16);
  EXPECT_EQ(height, 16);
  PrintText("\xC8H", 10, 10);  // code 200, then code 72 itself
  EXPECT_EQ(PixelAt(10, 10), Expected(CellColour(72)));
  EXPECT_EQ(PixelAt(25, 25), Expected(CellColour(72)));
  EXPECT_EQ(PixelAt(30, 18), Expected(CellColour(72)));
  EXPECT_EQ(PixelAt(42, 18), kBlack);  // two cells of 16 end at x 41
}

TEST_F(FontDrawing, TallPictureDrawsHighCodesFromItsLowerHalf) {
  LoadFont(CellFont("tall.bmp", 128, 256).c_str(), 0);
  double width = 0, height = 0;
  GetFontSize(width, height);
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 16);
  PrintText("\x80\xFF" "A\n", 0, 0);  // line feed draws its cell like any other code
  EXPECT_EQ(PixelAt(4, 8), Expected(CellColour(128)));
  EXPECT_EQ(PixelAt(12, 8), Expected(CellColour(255)));
  EXPECT_EQ(PixelAt(20, 8), Expected(CellColour('A')));
  EXPECT_EQ(PixelAt(28, 8), Expected(CellColour('\n')));
  EXPECT_EQ(PixelAt(7, 0), Expected(CellColour(128)));
  EXPECT_EQ(PixelAt(7, 15), Expected(CellColour(128)));
}

TEST_F(FontDrawing, BlackIsTransparentWithTheFontKey) {
  // Every cell: left half black, right half white.
  const std::string path = scratch.Path() + "/halves.bmp";
  WriteBmp(path, 128, 64, [](int x, int) { return x % 8 < 4 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; });
  LoadFont(path.c_str(), 1);
  FillRect2D(0, 0, 40, 20);
  PrintText("Q", 0, 0);
  EXPECT_EQ(PixelAt(1, 3), kRed);
  EXPECT_EQ(PixelAt(6, 3), kWhite);

  SetTransparentColour(-1);  // no key: black stays opaque
  LoadFont(path.c_str(), 1);
  PrintText("Q", 0, 0);
  EXPECT_EQ(PixelAt(1, 3), kBlack);
}

TEST_F(FontDrawing, UnloadablePicturesGiveTheBuiltinFont) {
  LoadFont(CellFont("wide.bmp", 256, 128).c_str(), 2);
  EXPECT_EQ(FontSlotEntry(2).imageWidth, 256);
  LoadFont((scratch.Path() + "/missing.bmp").c_str(), 2);  // replaces the loaded picture
  EXPECT_EQ(FontSlotEntry(2).imageWidth, 128);
  EXPECT_EQ(FontSlotEntry(2).imageHeight, 64);
  EXPECT_EQ(FontSlotEntry(2).paddedWidth, 128);
  EXPECT_EQ(FontSlotEntry(2).mipTexture, 0u);

  scratch.WriteFile("junk.bmp", "BM this is no picture");
  LoadFont((scratch.Path() + "/junk.bmp").c_str(), 4);
  double width = 0, height = 0;
  GetFontSize(width, height);
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 8);
  FillRect2D(0, 0, 40, 20);
  PrintText("A", 0, 0);
  ExpectGlyphAt(0, 0, kLetterA);
}

TEST_F(FontDrawing, FontNumbersAreTruncatedAndClamped) {
  LoadFont("", 99);
  EXPECT_EQ(Subsystems().currentFont, 15);
  EXPECT_FALSE(FontSlotEntry(15).IsEmpty());
  SetFont(-5);
  EXPECT_EQ(Subsystems().currentFont, 0);
  SetFont(7.9);
  EXPECT_EQ(Subsystems().currentFont, 7);
  SetFont(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(Subsystems().currentFont, 0);
  LoadFont("", -0.5);
  EXPECT_EQ(Subsystems().currentFont, 0);
}

TEST_F(FontDrawing, AFontNeverLoadedDrawsNothing) {
  SetFont(9);
  double width = -1, height = -1;
  GetFontSize(width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  FillRect2D(0, 0, 40, 20);
  PrintText("AAAA", 0, 0);
  for (int x = 0; x < 40; x += 3) EXPECT_EQ(PixelAt(x, 4), kRed);
}

TEST_F(FontDrawing, PrintNumberPrintsTheRuntimesTextOfTheNumber) {
  LoadFont("", 0);
  PrintNumber(-2.5, 0, 0);
  PrintText("-2.5", 0, 20);
  int lit = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(PixelAt(x, y), PixelAt(x, y + 20)) << x << ", " << y;
      lit += PixelAt(x, y) == kWhite;
    }
  }
  EXPECT_GT(lit, 10);
}

// A perspective camera at the origin looking down -z over the whole 640 x 480 surface.
void SetPerspective() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-1, 1, -0.75, 0.75, 1, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

TEST_F(FontDrawing, PinnedSceneTextStandsCentredOnTheProjectedPoint) {
  LoadFont("", 0);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 1);
  SetPerspective();
  GLdouble projectionBefore[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projectionBefore);
  // The point projects to the surface centre (320, 240): the cell spans x 316 .. 323 and
  // stands on row 240.
  DrawTextInScene(0, "A", 0, 0, -5, 0);
  ExpectGlyphAt(316, 232, kLetterA);
  GLdouble projectionAfter[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(projectionAfter[i], projectionBefore[i]);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);

  // A point in the camera's plane has w = 0: nothing is drawn.
  glClear(GL_COLOR_BUFFER_BIT);
  DrawTextInScene(0, "AAAAAAAA", 0, 0, 0, 0);
  for (int x = 0; x < 640; x += 4) ASSERT_EQ(PixelAt(x, 236), kBlack) << x;
}

TEST_F(FontDrawing, StandingSceneTextFacesTheCameraWithSquareCells) {
  LoadFont("", 0);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 1);
  // Under the 2D projection one scene unit is one pixel; scale 2 makes 16 x 16 cells.
  // The single cell is centred on x 100 and stands on y -200 (row 200 from the top).
  // A clockwise front face with culling on would hide the quads if culling stayed on.
  glFrontFace(GL_CW);
  DrawTextInScene(0, "A", 100, -200, 0, 2);
  glFrontFace(GL_CCW);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const char want = kLetterA[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      const Pixel expected = want == 'W' ? kWhite : want == 'o' ? kOutline : kRed;
      EXPECT_EQ(PixelAt(92 + 2 * x, 184 + 2 * y), expected) << x << ", " << y;
      EXPECT_EQ(PixelAt(93 + 2 * x, 185 + 2 * y), expected) << x << ", " << y;
    }
  }
}

}  // namespace
