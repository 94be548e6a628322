// Lighting, textures and the cel and bump effects of mesh drawing, seen in pixels.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gfx2d/picture_files.h"
#include "gfx2d/texture_commands.h"
#include "gfx3d/collision_commands.h"
#include "gfx3d/draw_commands.h"
#include "gfx3d/object_commands.h"
#include "gfx3d/object_slots.h"
#include "gfx3d/scene_commands.h"
#include "scene_fixture.h"
#include "support/scratch_directory.h"

namespace {

constexpr int kSlot = 4;
constexpr int kWhiteColour = 0xFFFFFF;

class MeshEffects : public SceneFixture {
 protected:
  // A sprite of 4 x 4 texels, the left half in one colour and the right half in another.
  void LoadHalves(int slot, Rgb left, Rgb right) {
    const std::string path = scratch.Path() + "/halves" + std::to_string(slot) + ".bmp";
    WriteBmp(path, 4, 4, [&](int x, int) { return x < 2 ? left : right; });
    LoadSprite(BasicString(path.c_str()), slot);
  }

  // A white square of side 2 facing the eye, u along x and v along y.
  void FacingQuad() {
    StartObject(kSlot);
    AddObjectVertex(-1, -1, 0, 0, 0, kWhiteColour);
    AddObjectVertex(1, -1, 0, 1, 0, kWhiteColour);
    AddObjectVertex(-1, 1, 0, 0, 1, kWhiteColour);
    AddObjectVertex(1, 1, 0, 1, 1, kWhiteColour);
    EndObject();
    SetCamera(1, 100, 45);
    SetCameraPosition(0, 0, 6, 0, 0, 0);
  }

  ScratchDirectory scratch;
};

TEST_F(MeshEffects, ALightedTexturedCubeShowsItsTextureBrighterOnTheLitFace) {
  LoadHalves(1, {255, 0, 0}, {0, 0, 255});
  CreateCubeObject(scene->objects, kSlot, 2, 2);
  SetCamera(1, 100, 45);
  SetCameraPosition(3, 2, 6, 0, 0, 0);
  SetLight(0, kWhiteColour, 0, 0, 0, 0, 0, -1, 180);  // shining along -z onto the front face
  SetObjectTextures(1, -1);
  DrawObjectFrame(kSlot, 0);
  // The front face carries the whole texture: red on its left, blue on its right.
  const Pixel frontLeft = PixelOver(-0.5, 0, 1), frontRight = PixelOver(0.5, 0, 1);
  EXPECT_GT(frontLeft[0], 200);
  EXPECT_LT(frontLeft[2], 40);
  EXPECT_GT(frontRight[2], 200);
  EXPECT_LT(frontRight[0], 40);
  // The right face, turned away from the light, shows the blue edge of the texture dimmer.
  const Pixel side = PixelOver(1, 0, 0);
  EXPECT_GT(side[2], 10);
  EXPECT_LT(side[2], frontRight[2] - 80);
}

// A sphere of radius 2 at the origin, white, counter-clockwise seen from outside: one
// strip per band of latitude.
void BuildSphere(int slot) {
  constexpr int kBands = 24, kSegments = 32;
  constexpr double kPi = 3.14159265358979;
  StartObject(slot);
  for (int band = 0; band < kBands; ++band) {
    if (band > 0) NewObjectStrip();
    for (int segment = 0; segment <= kSegments; ++segment) {
      const double phi = 2 * kPi * segment / kSegments;
      for (int row : {band, band + 1}) {
        const double theta = kPi * row / kBands;
        AddObjectVertex(2 * std::sin(theta) * std::sin(phi), 2 * std::cos(theta), 2 * std::sin(theta) * std::cos(phi),
                        0, 0, kWhiteColour);
      }
    }
  }
  EndObject();
}

TEST_F(MeshEffects, ACelShadedSphereShowsTheRampInBandsInsideABlackOutline) {
  BuildSphere(kSlot);
  SetCamera(1, 100, 60);
  SetCameraPosition(0, 0, 10, 0, 0, 0);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SetFaceOrientation(-1);
  SetLight(-2, kWhiteColour, 20, 0, 10, 0, 0, 0, 1);  // cel mode, light to the right
  DrawObjectFrame(kSlot, 0);

  double cx = 0, cy = 0, cz = 0, ex = 0, ey = 0, ez = 0;
  ProjectToScreen(0, 0, 0, cx, cy, cz);
  ProjectToScreen(2, 0, 0, ex, ey, ez);
  // The silhouette lies a little outside the projected radius: the eye is near.
  const double radius = (ex - cx) * 10 / std::sqrt(96.0);
  const int x0 = static_cast<int>(cx), y0 = static_cast<int>(cy);
  // Packed positions and normals put the ring within a pixel or two of the silhouette.
  for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    SCOPED_TRACE(testing::Message() << dx << "," << dy);
    int black = 0;
    for (int r = static_cast<int>(radius) - 4; r <= static_cast<int>(radius) + 5; ++r) {
      black += PixelAt(x0 + dx * r, y0 + dy * r) == kBlack;
    }
    EXPECT_GE(black, 2);
    EXPECT_NE(PixelAt(x0 + dx * static_cast<int>(radius - 8), y0 + dy * static_cast<int>(radius - 8)), kBlack);
    EXPECT_EQ(PixelAt(x0 + dx * static_cast<int>(radius + 8), y0 + dy * static_cast<int>(radius + 8)), kWhite);
  }
  // Across the middle row the shading takes the ramp's levels 100, 160, 207 and 255, in
  // bands, from the dark side on the left to the lit side on the right.
  const int levels[] = {100, 160, 207, 255};
  int seen[4] = {}, between = 0, last = 0;
  const int inner = static_cast<int>(radius - 4);
  for (int x = x0 - inner; x <= x0 + inner; ++x) {
    const Pixel p = PixelAt(x, y0);
    EXPECT_EQ(p[0], p[2]) << x;
    int band = -1;
    for (int b = 0; b < 4; ++b) {
      if (std::abs(p[0] - levels[b]) <= 3) band = b;
    }
    if (band < 0) {
      ++between;
      continue;
    }
    ++seen[band];
    EXPECT_GE(band, last) << x;  // never darker further right
    last = band;
  }
  EXPECT_GT(seen[0], 10);
  EXPECT_GT(seen[1], 10);
  EXPECT_GT(seen[3], 10);
  EXPECT_LT(between, 2 * inner / 10);
}

TEST_F(MeshEffects, ABumpMappedQuadFollowsTheLight) {
  // Every texel of the normal map holds the tangent-space normal (-0.6, 0, 0.8): its
  // bumps lean towards -u. The base texture is orange.
  LoadHalves(1, {255, 128, 0}, {255, 128, 0});
  LoadHalves(2, {51, 128, 229}, {51, 128, 229});
  FacingQuad();
  SetObjectTextures(1, 2);  // the normal map goes to unit 0, the base texture to unit 1
  // The brightness is the normal map's normal . the unit light vector, times the base.
  const struct {
    double x, y, z;
    double brightness;
  } lights[] = {
      {0, 0, 10, 0.8},       // in front: only the normal's z counts
      {-5, 0, 3, 0.91},      // on the side the bumps lean to
      {5, 0, 3, 0},          // on the other side: dark
      {0, 5, 3, 0.41},       // above: the lean does not matter
  };
  for (const auto& light : lights) {
    SCOPED_TRACE(testing::Message() << light.x << "," << light.y << "," << light.z);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetLight(-1, kWhiteColour, light.x, light.y, light.z, 0, 0, 0, 1);
    DrawObjectFrame(kSlot, 0);
    const Pixel p = PixelOver(0, 0, 0);
    EXPECT_NEAR(p[0], 255 * light.brightness, 16);
    EXPECT_NEAR(p[1], 128 * light.brightness, 10);
    EXPECT_LT(p[2], 8);
  }
}

TEST_F(MeshEffects, ACelDrawKeepsTheBoundTexturesForItselfAndTheDrawsAfterIt) {
  LoadHalves(1, {255, 128, 0}, {255, 128, 0});
  LoadHalves(2, {128, 255, 255}, {128, 255, 255});
  FacingQuad();
  SetObjectTextures(1, 2);  // unit 0: the second, unit 1: the first
  SetLight(-2, kWhiteColour, 0, 0, 10, 0, 0, 0, 1);  // cel, lit from the front: ramp 255
  DrawObjectFrame(kSlot, 0);
  EXPECT_EQ(PixelOver(0, 0, 0), (Pixel{128, 255, 255, 255}));
  SetLight(-2, kWhiteColour, 0, 0, 10, 0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawObjectFrame(kSlot, 0);  // both textures again, modulated
  EXPECT_EQ(PixelOver(0, 0, 0), (Pixel{128, 128, 0, 255}));
}

}  // namespace
