// Projection and view: points land where the camera arithmetic says, bad numbers never
// reach the matrices.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfx2d/background_commands.h"
#include "gfx3d/object_transforms.h"
#include "gfx3d/scene_commands.h"
#include "scene_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr Matrix4 kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class SceneCamera : public SceneFixture {
 protected:
  // Draws a white point of size 5 at p and expects it on surface pixel (x, y), with the
  // pixels 5 to each side left black.
  void ExpectPointAt(const Vector3& p, double x, double y) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawPoint3D(p[0], p[1], p[2], 5, 0xFFFFFF);
    const int column = static_cast<int>(std::floor(x));
    const int row = static_cast<int>(std::floor(y));
    EXPECT_EQ(PixelAt(column, row), kWhite) << "expected near " << x << ", " << y;
    for (const auto& [dx, dy] : {std::pair{5, 0}, {-5, 0}, {0, 5}, {0, -5}}) {
      EXPECT_EQ(PixelAt(column + dx, row + dy), kBlack) << "beside " << x << ", " << y;
    }
  }
};

TEST_F(SceneCamera, PerspectivePointLandsOnThePredictedPixelOfANonSquareViewport) {
  SetViewport(100, 50, 400, 200);
  SetCamera(1, 100, 45);
  SetCameraPosition(0, 0, 10, 0, 0, 0);
  // (2, 1, 0) is 10 units in front of the eye; the half height at that depth is
  // 10 tan(22.5 degrees), the half width twice that.
  const double halfHeight = 10 * std::tan(22.5 * kPi / 180);
  const double ndcX = 2 / (halfHeight * 2), ndcY = 1 / halfHeight;
  ExpectPointAt({2, 1, 0}, 100 + (ndcX + 1) / 2 * 400, 50 + (1 - ndcY) / 2 * 200);
}

TEST_F(SceneCamera, OrthographicHalfHeightIsNearTimesTanOfHalfTheAngleTimes100) {
  SetViewport(0, 0, 0, 0);
  SetCamera(0.1, 100, -90);  // half height 0.1 x tan(45 degrees) x 100 = 10
  SetCameraPosition(0, 0, 50, 0, 0, 0);
  const double aspect = 640.0 / 480.0;
  ExpectPointAt({4, -5, 0}, (4 / (10 * aspect) + 1) / 2 * 640, (1 + 0.5) / 2 * 480);
  ExpectPointAt({4, -5, -40}, (4 / (10 * aspect) + 1) / 2 * 640, (1 + 0.5) / 2 * 480);  // no perspective
}

TEST_F(SceneCamera, UpVectorTurnsTheView) {
  SetCamera(1, 100, 90);
  SetCameraUp(0, 0, 1);
  SetCameraPosition(0, -10, 0, 0, 0, 0);
  // Looking along +y with +z up: +x is to the right and +z up on the screen.
  const double aspect = 640.0 / 480.0;
  ExpectPointAt({2, 0, 1}, (2 / (10 * aspect) + 1) / 2 * 640, (1 - 1 / 10.0) / 2 * 480);
}

TEST_F(SceneCamera, CameraPositionPopsPushedLevelsAndLeavesTheViewCurrent) {
  SetCamera(1, 100, 45);
  PushObjectTransform();
  glTranslatef(7, 7, 7);
  PushObjectTransform();
  glRotatef(30, 1, 0, 0);
  SetCameraPosition(3, 4, 5, 0, 0, 0);
  EXPECT_EQ(scene->transformLevel, 0);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  const Matrix4 modelview = CurrentMatrix(GL_MODELVIEW_MATRIX);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(modelview[i], scene->cameraMatrix[i], 1e-6) << i;
  EXPECT_NEAR(modelview[14], -std::sqrt(50.0f), 1e-5);  // the eye is sqrt(50) from the target
}

TEST_F(SceneCamera, NumbersThatAreNotFiniteCountAsZero) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  SetCamera(kNan, kInfinity, kNan);
  SetCameraUp(kNan, 1, 0);
  SetCameraPosition(kNan, 0, kInfinity, 0, 1e300, 0);
  EXPECT_EQ(scene->eye, (Vector3{0, 0, 0}));
  EXPECT_EQ(scene->target, (Vector3{0, 0, 0}));
  EXPECT_EQ(scene->up, (Vector3{0, 1, 0}));
  for (GLenum which : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
    for (float value : CurrentMatrix(which)) EXPECT_TRUE(std::isfinite(value)) << which;
  }
  // The refused projection stays the identity.
  EXPECT_EQ(CurrentMatrix(GL_PROJECTION_MATRIX), kIdentity);
}

TEST_F(SceneCamera, FaceOrientationFollowsTheSignAndSetCameraTurnsCullingOff) {
  SetCamera(1, 100, 45);
  for (const auto& [value, stored, front] : {std::tuple{-0.5, -1, GL_CCW}, {3.0, 1, GL_CW}}) {
    SetFaceOrientation(value);
    EXPECT_EQ(scene->faceOrientation, stored);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, front);
  }
  SetCamera(1, 100, 45);
  EXPECT_EQ(scene->faceOrientation, 0);
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

}  // namespace
