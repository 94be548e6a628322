// Stencil shadows seen in pixels: a cube standing on a floor, lit from the upper left,
// darkens the part of the floor its shadow covers and nothing else, whichever way the
// scene orients its front faces and whether or not the caster is mirrored.

#include <gtest/gtest.h>

#include "gfx3d/draw_commands.h"
#include "gfx3d/object_commands.h"
#include "gfx3d/object_slots.h"
#include "gfx3d/scene_commands.h"
#include "scene_fixture.h"

namespace {

constexpr int kFloorSlot = 1;
constexpr int kCubeSlot = 2;
constexpr double kFloorGrey = 0x808080;

class MeshShadow : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    // A grey floor of side 16 at y = 0 and a white cube of side 2 standing on it.
    StartObject(kFloorSlot);
    for (const auto& [x, z] : {std::pair{-8, -8}, {8, -8}, {-8, 8}, {8, 8}}) AddObjectVertex(x, 0, z, 0, 0, kFloorGrey);
    EndObject();
    CreateCubeObject(scene->objects, kCubeSlot, 2, 0);
    SetCamera(1, 100, 60);
    SetCameraPosition(0, 9, 11, 1, 0, 0);
  }

  // The cube, standing on the floor; a mirroring scale leaves it as it is.
  void DrawCube(double mirror) {
    PushObjectTransform();
    SetObjectTranslation(0, 1, 0);
    SetObjectScale(mirror, 1, 1);
    DrawObjectFrame(kCubeSlot, 0);
    PopObjectTransform();
  }
};

TEST_F(MeshShadow, TheCubeDarkensTheFloorItsShadowCoversUnderEitherFaceOrientation) {
  struct Point {
    double x, y, z;
    bool shadowed;
  } points[] = {
      {2, 0, -0.3, true},   {2.6, 0, -0.6, true}, {1.3, 0, 0.7, true},  // beyond the cube, away from the light
      {4.2, 0, -0.3, false}, {2, 0, 2, false},    {2, 0, -2.6, false},  // around the shadow
      {-3, 0, 0, false},    {0, 0, 3, false},                           // on the lit side
      {0, 2, 0, false},     {-0.5, 2, 0.5, false},                      // the cube's lit top
  };
  const struct {
    int orientation;
    double mirror;
  } cases[] = {{0, 1}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
  for (const auto& [orientation, mirror] : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << orientation << ", mirror " << mirror);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    SetFaceOrientation(0);
    DrawObjectFrame(kFloorSlot, 0);
    DrawCube(1);
    SetFaceOrientation(orientation);
    SetLight(-3, 0xFFFFFF, -8, 11, 2, 0, 0, 0, 1);  // the cube casts its shadow
    DrawCube(mirror);
    SetLight(-3, 0xFFFFFF, -8, 11, 2, 0, 0, 0, 0);
    for (const Point& p : points) {
      const int unshadowed = p.y == 0 ? 128 : 255;  // the grey floor or the white cube
      EXPECT_NEAR(PixelOver(p.x, p.y, p.z)[0], p.shadowed ? unshadowed / 2 : unshadowed, 2) << p.x << "," << p.z;
    }
  }
}

}  // namespace
