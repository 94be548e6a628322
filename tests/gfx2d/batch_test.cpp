// The 2D batch: the same frame drawn with batching on and off, and with nearest sampling
// of quads drawn one texel per pixel on and off, gives the same pixels and the same
// read-backs, with far fewer draw calls; turned sprites land where the matrix stack put
// them.

#include <gtest/gtest.h>

#include <vector>

#include "batch_scene.h"
#include "gfx2d/sprite_turn.h"
#include "gfx3d/engine3d.h"
#include "support/renderer_fixture.h"
#include "support/scratch_directory.h"

namespace {

class Batch2D : public RendererFixture {
 protected:
  void SetUp() override {
    RendererFixture::SetUp();
    renderer->frameInterval = 0;
    Engine().pauseWhenInactive = 0;
    scene = new Diveduva3D(*renderer, false);
    Subsystems().scene = scene;
    WriteBatchScenePictures(pictures.Path());
  }
  void TearDown() override {
    delete scene;
    Subsystems().scene = nullptr;
    RendererFixture::TearDown();
  }

  struct Frame {
    std::vector<std::uint8_t> pixels;
    std::vector<double> readBack;
    std::uint64_t drawCalls = 0;
  };

  Frame DrawFrame(bool batching, bool exactTexels = true) {
    renderer->batch.enabled = batching;
    renderer->exactTexels.enabled = exactTexels;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    Frame frame;
    const std::uint64_t callsBefore = renderer->batch.drawCalls;
    DrawBatchScene(pictures.Path(), frame.readBack);
    FlushQuadBatch(*renderer);
    frame.drawCalls = renderer->batch.drawCalls - callsBefore;
    frame.pixels.resize(static_cast<std::size_t>(renderer->surfaceWidth) * renderer->surfaceHeight * 4);
    glReadPixels(0, 0, renderer->surfaceWidth, renderer->surfaceHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels.data());
    return frame;
  }

  static std::size_t DifferingPixels(const Frame& a, const Frame& b) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); i += 4) {
      differing +=
          a.pixels[i] != b.pixels[i] || a.pixels[i + 1] != b.pixels[i + 1] || a.pixels[i + 2] != b.pixels[i + 2];
    }
    return differing;
  }

  static bool SamplesNearest(GLuint texture) {
    GLint bound = 0, minFilter = 0, magFilter = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return minFilter == GL_NEAREST && magFilter == GL_NEAREST;
  }

  ScratchDirectory pictures;
  Diveduva3D* scene = nullptr;
};

TEST_F(Batch2D, BatchedFrameEqualsTheFrameDrawnCommandByCommand) {
  const Frame unbatched = DrawFrame(false);
  const Frame batched = DrawFrame(true);
  EXPECT_EQ(batched.readBack, unbatched.readBack);
  EXPECT_EQ(DifferingPixels(batched, unbatched), 0u);
  // The frame is not empty: the background, sprites and text cover most of it.
  std::size_t lit = 0;
  for (std::size_t i = 0; i < batched.pixels.size(); i += 4) lit += batched.pixels[i] + batched.pixels[i + 1] > 0;
  EXPECT_GT(lit, batched.pixels.size() / 8);
  EXPECT_LT(batched.drawCalls, unbatched.drawCalls);
}

TEST_F(Batch2D, NearestSamplingOfExactTexelsChangesNoPixel) {
  const Frame filtered = DrawFrame(true, false);
  const Frame nearest = DrawFrame(true, true);
  EXPECT_EQ(nearest.readBack, filtered.readBack);
  EXPECT_EQ(DifferingPixels(nearest, filtered), 0u);
}

TEST_F(Batch2D, OnlyQuadsLandingOneTexelPerPixelSampleNearestAndNoGlUserAfterTheBatchDoes) {
  LoadSprite(BasicString((pictures.Path() + "/a.bmp").c_str()), 1);
  LoadSprite(BasicString((pictures.Path() + "/b.bmp").c_str()), 2);  // 20 x 12
  const GLuint sprite = renderer->textures.slots[2].texture;
  struct Case {
    const char* what;
    void (*draw)();
    bool nearest;
  };
  const Case cases[] = {
      {"sprite", [] { DrawSprite(2, 10.4, 10); }, true},
      {"sprite stretched to its own size", [] { DrawSpriteStretched(2, 10, 10, 20, 12); }, true},
      {"zoomed sprite", [] { DrawSpriteZoomed(2, 10, 10, 2, 2); }, false},
      {"turned sprite", [] { DrawSpriteRotated(2, 10, 10, 30); }, false},
      {"mirrored sprite", [] { DrawSpriteStretched(2, 10, 10, -20, 12); }, false},
      {"sprite under a game's own scale",
       [] {
         glScalef(2, 2, 1);
         DrawSprite(2, 10, 10);
       },
       false},
  };
  for (const Case& c : cases) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    c.draw();
    EXPECT_EQ(SamplesNearest(sprite), c.nearest) << c.what;
    FlushQuadBatch(*renderer);
    EXPECT_FALSE(SamplesNearest(sprite)) << c.what;
  }
  glLoadIdentity();
  // Between exact runs the switched filters stay, also across a turned sprite's run of
  // another texture and a read-back; a filtering run of the same texture takes them back.
  DrawSprite(2, 10, 10);
  DrawSpriteRotated(1, 10, 10, 30);
  GetPixel(0, 0);
  EXPECT_TRUE(SamplesNearest(sprite));
  DrawSpriteZoomed(2, 10, 10, 2, 2);
  GetPixel(0, 0);
  EXPECT_FALSE(SamplesNearest(sprite));
}

TEST_F(Batch2D, TheNextGlUserSeesThePendingSpritesDrawn) {
  LoadSprite(BasicString((pictures.Path() + "/b.bmp").c_str()), 2);
  DrawSprite(2, 10, 10);  // (10, 10) holds the green of b.bmp's first texel
  const std::uint64_t callsBefore = renderer->batch.drawCalls;
  EXPECT_EQ(PixelAt(10, 10), (Pixel{10, 250, 60, 255}));  // the read-back flushes
  EXPECT_EQ(renderer->batch.drawCalls, callsBefore + 1);
  EXPECT_FALSE(renderer->batch.open);
}

TEST(SpriteTurn, QuarterTurnsMoveCornersCounterClockwiseAboutTheCentre) {
  struct Case {
    float angle, x, y, expectedX, expectedY;
  };
  const Case cases[] = {{0, 3, 2, 13, 22}, {90, 3, 2, 8, 23}, {180, 3, 2, 7, 18}, {-90, 3, 2, 12, 17}};
  for (const Case& c : cases) {
    float turned[2];
    TurnSpriteCorner(SpriteTurnOf(c.angle, 10, 20), c.x, c.y, turned);
    EXPECT_NEAR(turned[0], c.expectedX, 1e-5) << c.angle;
    EXPECT_NEAR(turned[1], c.expectedY, 1e-5) << c.angle;
  }
}

}  // namespace
