// The shadow pass: objects drawn while it is open only mark the stencil buffer, and
// closing it darkens the marked pixels, once.

#include <gtest/gtest.h>

#include "gfx3d/scene_commands.h"
#include "gfx3d/shader_programs.h"
#include "gfx3d/shadow_mode.h"
#include "host/frame_present.h"
#include "scene_fixture.h"

namespace {

class ShadowPass : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    SetCamera(1, 100, 45);
    SetCameraPosition(0, 0, 10, 0, 0, 0);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }
};

TEST_F(ShadowPass, ClosingThePassDarkensWhatWasDrawnDuringIt) {
  SetShadowMode(*scene, true);
  glColor4f(1, 0, 0, 1);
  DrawSquare(0, 0, 0, 1);
  EXPECT_EQ(PixelAt(320, 240), kWhite);  // no colour while the pass is open
  SetShadowMode(*scene, false);
  const Pixel darkened = PixelAt(320, 240);
  EXPECT_NEAR(darkened[0], 128, 2);
  EXPECT_EQ(darkened[0], darkened[1]);
  EXPECT_EQ(darkened[0], darkened[2]);
  EXPECT_EQ(PixelAt(10, 10), kWhite);
  EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
  EXPECT_FLOAT_EQ(renderer->currentAlpha, 1.0f);
}

TEST_F(ShadowPass, SwitchingItOffWhileOffDrawsNothing) {
  glClearStencil(1);
  glClear(GL_STENCIL_BUFFER_BIT);
  glClearStencil(0);
  SetShadowMode(*scene, false);
  EXPECT_EQ(PixelAt(320, 240), kWhite);
}

TEST_F(ShadowPass, PresentFrameClosesThePassAndLeavesShadersAndMipmapsOff) {
  SetShadowMode(*scene, true);
  scene->textureMipmapping = 1;
  scene->currentShader = 4;
  PresentFrame();
  EXPECT_FALSE(scene->shadowMode);
  EXPECT_EQ(scene->textureMipmapping, 0);
  EXPECT_EQ(scene->currentShader, -1);
  GLboolean colourWrites[4] = {};
  glGetBooleanv(GL_COLOR_WRITEMASK, colourWrites);
  EXPECT_TRUE(colourWrites[0]);
}

TEST_F(ShadowPass, EndScene3DReturnsToTheTwoDimensionalSetUp) {
  SetShadowMode(*scene, true);
  EndScene3D();
  EXPECT_FALSE(scene->shadowMode);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_FLOAT_EQ(projection[0], 2.0f / 640);  // the 2D projection maps x to pixels
}

}  // namespace
