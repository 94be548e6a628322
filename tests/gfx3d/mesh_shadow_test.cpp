// Stencil shadows seen in pixels: a cube standing on a floor, lit from the upper left,
// darkens the part of the floor its shadow covers and nothing else, whichever way the
// scene orients its front faces.

#include <gtest/gtest.h>

#include "gfx3d/collision_commands.h"
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

  void DrawScene() {
    DrawObjectFrame(kFloorSlot, 0);
    PushObjectTransform();
    SetObjectTranslation(0, 1, 0);
    DrawObjectFrame(kCubeSlot, 0);
    PopObjectTransform();
  }

  // The cube again as a shadow caster under a light at (-8, 11, 2); a mirroring scale
  // leaves the symmetric cube and so its shadow as they are.
  void CastShadow(double mirror) {
    SetLight(-3, 0xFFFFFF, -8, 11, 2, 0, 0, 0, 1);
    PushObjectTransform();
    SetObjectTranslation(0, 1, 0);
    SetObjectScale(mirror, 1, 1);
    DrawObjectFrame(kCubeSlot, 0);
    PopObjectTransform();
    SetLight(-3, 0xFFFFFF, -8, 11, 2, 0, 0, 0, 0);
  }

  Pixel PixelOver(double x, double y, double z) {
    double sx = 0, sy = 0, sz = 0;
    ProjectToScreen(x, y, z, sx, sy, sz);
    return PixelAt(static_cast<int>(sx), static_cast<int>(sy));
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
    DrawScene();
    std::vector<Pixel> lit;
    for (const Point& p : points) lit.push_back(PixelOver(p.x, p.y, p.z));
    SetFaceOrientation(orientation);
    CastShadow(mirror);
    for (std::size_t i = 0; i < std::size(points); ++i) {
      const Point& p = points[i];
      const Pixel after = PixelOver(p.x, p.y, p.z);
      const int expected = p.shadowed ? lit[i][0] / 2 : lit[i][0];
      EXPECT_NEAR(after[0], expected, 2) << p.x << "," << p.y << "," << p.z << " was " << int(lit[i][0]);
    }
  }
}

}  // namespace
