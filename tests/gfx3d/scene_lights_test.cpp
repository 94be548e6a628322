// Lights and fog, seen on the pixels of a lit square.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfx3d/scene_commands.h"
#include "scene_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kWhiteColour = 0xFFFFFF;

class SceneLights : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    SetCamera(1, 100, 45);
    SetCameraPosition(0, 0, 10, 0, 0, 0);
  }

  // Red channel of a white square facing the camera, lit by a white directional light
  // whose direction lies `degrees` away from straight into the square.
  int BrightnessAt(double degrees) {
    const double radians = degrees * kPi / 180;
    SetLight(0, kWhiteColour, 0, 0, 0, std::sin(radians), 0, -std::cos(radians), 180);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawSquare(0, 0, 0, 2);
    return PixelAt(320, 240)[0];
  }
};

TEST_F(SceneLights, DirectionalLightFollowsTheCosineOfItsAngleToTheNormal) {
  // At 90 degrees only the scene's ambient term is left (0.2 of the colour that colour
  // material gave the ambient reflection); above it the diffuse term grows with the cosine.
  const int ambient = BrightnessAt(90);
  EXPECT_NEAR(ambient, 0.2 * 255, 2);
  EXPECT_NEAR(BrightnessAt(60) - ambient, 0.5 * 255, 3);
  EXPECT_NEAR(BrightnessAt(45) - ambient, std::sqrt(0.5) * 255, 3);
}

TEST_F(SceneLights, SwitchingOffTheLastLightSwitchesLightingOff) {
  SetLight(0, kWhiteColour, 0, 0, 5, 0, 0, 0, 120);  // a point light
  SetAmbientLight(1, 0x00FF00);
  SetLight(0, kWhiteColour, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(scene->lightMask, 2);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  SetLight(1, kWhiteColour, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(scene->lightMask, 0);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  // A new camera starts without the lights of the last one.
  SetAmbientLight(3, kWhiteColour);
  SetCamera(1, 100, 45);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
}

TEST_F(SceneLights, NegativeIndicesSetTheEffectLightAndOthersOutOfRangeDoNothing) {
  const struct {
    double index;
    EffectMode mode;
  } cases[] = {{-1, EffectMode::kBump}, {-2, EffectMode::kCel}, {-7, EffectMode::kCel},
               {-3, EffectMode::kStencilShadow}};
  for (const auto& c : cases) {
    SetLight(c.index, 0x0000FF, 1, 2, 3, 0, 0, 0, 1);
    EXPECT_TRUE(scene->effectLight.on);
    EXPECT_EQ(scene->effectLight.mode, c.mode) << c.index;
  }
  EXPECT_TRUE(scene->shadowMode);  // the stencil-shadow light switches the shadow mode with it
  EXPECT_EQ(scene->effectLight.colour, (Vector3{1, 0, 0}));
  SetLight(-3, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_FALSE(scene->shadowMode);
  EXPECT_EQ(scene->lightMask, 0);

  SetLight(8, kWhiteColour, 0, 0, 1, 0, 0, 0, 180);
  SetLight(std::numeric_limits<double>::infinity(), kWhiteColour, 0, 0, 1, 0, 0, 0, 180);
  SetLight(std::numeric_limits<double>::quiet_NaN(), kWhiteColour, 0, 0, 1, 0, 0, 0, 180);
  EXPECT_EQ(scene->lightMask, 0);
  EXPECT_FALSE(scene->effectLight.on);
}

TEST_F(SceneLights, LinearFogWithoutARangeSpansTheCameraNearToFar) {
  SetCamera(1, 50, 45);
  SetCameraPosition(0, 0, 0, 0, 0, -1);
  SetFog(0x0000FF, 0, 0, 0);
  glColor4f(1, 1, 1, 1);
  DrawSquare(0, 0, -49.9f, 40);  // at the far plane: all fog
  EXPECT_NEAR(PixelAt(320, 240)[0], 255, 2);
  EXPECT_NEAR(PixelAt(320, 240)[1], 1, 2);
  DrawSquare(0, 0, -25.5f, 1);  // half-way: half fog
  EXPECT_NEAR(PixelAt(320, 240)[1], 128, 3);
  SetFog(-1, 0, 0, 0);
  DrawSquare(0, 0, -20, 1);
  EXPECT_EQ(PixelAt(320, 240), kWhite);
}

}  // namespace
