// Sphere, box and ray tests against object slots, and points carried to the screen and
// back.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfx3d/collision_commands.h"
#include "gfx3d/mesh_collision.h"
#include "gfx3d/object_slots.h"
#include "gfx3d/scene_commands.h"
#include "scene_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Matrix4 kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A cube of edge 2 centred on the origin in slot 7: faces at +-1 on each axis.
class Collision : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    CreateCubeObject(scene->objects, 7, 2, 2);
  }
};

// One object of one frame holding the given triangle vertices.
MeshObjectX ObjectOf(std::initializer_list<Vector3> points) {
  MeshObjectX object;
  object.frames.resize(1);
  for (const Vector3& p : points) {
    MeshVertex vertex{};
    vertex.position[0] = p[0];
    vertex.position[1] = p[1];
    vertex.position[2] = p[2];
    object.frames[0].triangleVertices.push_back(vertex);
  }
  ComputeBounds(object);
  return object;
}

TEST_F(Collision, SphereAgainstTheCube) {
  struct Case {
    double radius, x, y, z;
    double hit;
  } cases[] = {
      {1, 0, 0, 2.01, 0},   // stops short of the face z = 1
      {1.01, 0, 0, 2, 1},   // reaches through it
      {0.5, 0, 0, 0, 0},    // inside the cube: crosses no face, holds no corner
      {1, 2, 2, 0, 0},      // beside an edge, more than 1 away
      {1.5, 2, 2, 0, 1},    // reaching the edge x = y = 1
      {1, 0, 50, 0, 0},     // rejected by the bounding sphere
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SphereHitsObject(7, 0, c.radius, c.x, c.y, c.z), c.hit) << c.radius << " at " << c.x << "," << c.y
                                                                     << "," << c.z;
  }
}

TEST(MeshCollision, SphereHoldingTheFirstVertexHitsWithoutATriangleTest) {
  const MeshObjectX object = ObjectOf({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}});
  // Centre 1 above the first vertex, radius 1: the triangle test alone says the sphere
  // only touches the plane, the quick accept says hit.
  EXPECT_TRUE(SphereHitsMesh(object, 0, 1, {0, 0, 1}, kIdentity));
  EXPECT_FALSE(SphereHitsTriangle({0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {0, 0, 1}, 1));
  EXPECT_FALSE(SphereHitsMesh(object, 0, 1, {1, 1, 1}, kIdentity));  // touches the plane only
  EXPECT_TRUE(SphereHitsMesh(object, 0, 1, {1, 1, 0.99f}, kIdentity));
}

TEST(MeshCollision, RayThroughATriangleEdgeHitsAndParallelOrZeroRaysMiss) {
  EXPECT_FLOAT_EQ(RayTriangleParameter({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5f, 0, 5}, {0.5f, 0, 4}), 5);
  EXPECT_FLOAT_EQ(RayTriangleParameter({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5f, 0.5f, 5}, {0.5f, 0.5f, 4}), 5);
  EXPECT_EQ(RayTriangleParameter({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.6f, 0.6f, 5}, {0.6f, 0.6f, 4}), 0);
  EXPECT_EQ(RayTriangleParameter({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 5}, {1, 0, 5}), 0);
  EXPECT_EQ(RayTriangleParameter({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 5}, {0, 0, 4}), 0);
}

TEST_F(Collision, RayNearestAheadElseNearestBehindElseZero) {
  struct Case {
    double x, y, z, dx, dy, dz;
    float distance;
  } cases[] = {
      {0, 0, 5, 0, 0, -1, 4},    // ahead: the near face
      {0, 0, 5, 0, 0, -7, 4},    // the direction is normalised
      {0, 0, 5, 0, 0, 1, -4},    // the cube lies behind: nearest behind
      {0, 0, 0, 0, 0, 1, 1},     // from inside: the face ahead wins over the one behind
      {0, 5, 5, 0, 0, -1, 0},    // passes above
      {0, 0, 5, 0, 0, 0, 0},     // zero direction
      {1, 1, 5, 0, 0, -1, 4},    // through the cube's corner edge
      {kNaN, 0, 5, 0, 0, -1, 4},  // NaN counts as 0
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(RayHitsObject(7, 0, c.x, c.y, c.z, c.dx, c.dy, c.dz), c.distance, 1e-5)
        << c.x << "," << c.y << "," << c.z << " along " << c.dx << "," << c.dy << "," << c.dz;
  }
}

TEST_F(Collision, TransformMovesAndTurnsTheObjectButScaleIsIgnored) {
  SetObjectTranslation(10, 0, 0);
  SetObjectScale(2, 2, 2);
  EXPECT_NEAR(RayHitsObject(7, 0, 10, 0, 5, 0, 0, -1), 4, 1e-5);  // not 3, nor 4.5: scale ignored
  EXPECT_EQ(RayHitsObject(7, 0, 0, 0, 5, 0, 0, -1), 0);
  EXPECT_EQ(SphereHitsObject(7, 0, 1, 10, 0, 2.5), 0);  // would hit a cube of edge 4
  AddObjectRotation(45, 0, 0, 1);
  // Turned by 45 degrees about z, the corner edge now stands at x = 10 + sqrt(2).
  EXPECT_NEAR(RayHitsObject(7, 0, 20, 0, 0, -1, 0, 0), 10 - std::sqrt(2.0), 1e-4);
  EXPECT_EQ(BoxHitsObject(7, 0, 10, 1.9, 0, 0.2, 0.2), 0);  // beyond the turned edge x=10
  EXPECT_EQ(BoxHitsObject(7, 0, 10, 1.3, 0, 0.2, 0.2), 1);
}

TEST_F(Collision, BoxTouchingCountsAndSeparatedBoxesMiss) {
  EXPECT_EQ(BoxHitsObject(7, 0, 0, 0, 2, 2, 2), 1);     // face z = 2 - 1 touches the cube
  EXPECT_EQ(BoxHitsObject(7, 0, 0, 0, 2.01, 2, 2), 0);
  EXPECT_EQ(BoxHitsObject(7, 0, 0, 2.5, 0, 2, 3), 1);   // height 3 reaches down to y = 1
  EXPECT_EQ(BoxHitsObject(7, 0, 0, 2.5, 0, 3, 2.8), 0);
  // A box turned 45 degrees about z with a face toward the cube's edge x = y = 1.
  const float h = 0.5f;
  const Vector3 a{h, h, 0}, b{-h, h, 0}, c{0, 0, h};
  EXPECT_FALSE(SlotBoxHit(*scene, 7, 0, {1.55f, 1.55f, 0}, a, b, c));
  EXPECT_TRUE(SlotBoxHit(*scene, 7, 0, {1.45f, 1.45f, 0}, a, b, c));
}

TEST_F(Collision, BadSlotsFramesAndEmptyObjectsHitNothing) {
  for (double frame : {1.0, -1.0, kNaN, 1e12}) {
    EXPECT_EQ(SphereHitsObject(7, frame, 5, 0, 0, 0), 0) << frame;
    EXPECT_EQ(BoxHitsObject(7, frame, 0, 0, 0, 5, 5), 0) << frame;
    EXPECT_EQ(RayHitsObject(7, frame, 0, 0, 5, 0, 0, -1), 0) << frame;
  }
  for (double slot : {-1.0, 4096.0, 8.0, kNaN}) {
    EXPECT_EQ(SphereHitsObject(slot, 0, 5, 0, 0, 0), 0) << slot;
    EXPECT_EQ(RayHitsObject(slot, 0, 0, 0, 5, 0, 0, -1), 0) << slot;
  }
  const MeshObjectX empty = ObjectOf({{0, 0, 0}, {1, 0, 0}});
  EXPECT_FALSE(SphereHitsMesh(empty, 0, 5, {0, 0, 0}, kIdentity));
  EXPECT_EQ(RayHitsMesh(empty, 0, {0, 0, 5}, {0, 0, -1}, kIdentity), 0);
  EXPECT_EQ(SphereHitsObject(7, 0, kNaN, kNaN, 0, 0), 0);
}

TEST_F(Collision, PickingRoundTripLandsOneRowAway) {
  SetCamera(1, 100, 60);
  SetCameraPosition(3, 4, 20, 0, 0, 0);
  double sx = -1, sy = -1, sz = -1;
  ProjectToScreen(1, 2, 3, sx, sy, sz);
  ASSERT_GT(sz, 0);
  ASSERT_LT(sz, 1);
  double x = 0, y = 0, z = 0;
  // The row flip uses height - 1 - row: a point read back one row up is the original.
  ScreenToWorld(sx, sy - 1, sz, x, y, z);
  EXPECT_NEAR(x, 1, 1e-2);
  EXPECT_NEAR(y, 2, 1e-2);
  EXPECT_NEAR(z, 3, 1e-2);
  ScreenToWorld(sx, sy, sz, x, y, z);
  EXPECT_LT(y, 2);  // one row lower on the screen
  EXPECT_GT(y, 1.9);
}

TEST_F(Collision, ProjectionFailureLeavesTheOutputs) {
  SetCamera(1, 100, 60);
  SetCameraPosition(0, 0, 10, 0, 0, 0);
  double sx = 7, sy = 8, sz = 9;
  ProjectToScreen(0, 0, 10, sx, sy, sz);  // at the eye: clip w is 0
  EXPECT_EQ(sx, 7);
  EXPECT_EQ(sy, 8);
  EXPECT_EQ(sz, 9);
}

}  // namespace
