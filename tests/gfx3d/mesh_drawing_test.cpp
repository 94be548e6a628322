// Mesh drawing: frame choice and blending seen in pixels, the visibility test, the cel
// texture and the shadow volume's edge links.

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "gfx3d/cel_shading.h"
#include "gfx3d/collision_commands.h"
#include "gfx3d/draw_commands.h"
#include "gfx3d/mesh_drawing.h"
#include "gfx3d/object_slots.h"
#include "gfx3d/scene_commands.h"
#include "gfx3d/shadow_volume.h"
#include "scene_fixture.h"

namespace {

// A square of side 0.6 in the plane z = 0, as two triangles, centred on (x, 0).
void AddSquare(std::vector<MeshVertex>& out, float x) {
  const float h = 0.3f;
  const float corners[6][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, -h}, {h, h}, {-h, h}};
  for (const auto& c : corners) {
    MeshVertex v{};
    v.position[0] = x + c[0];
    v.position[1] = c[1];
    v.normal[2] = 1;
    v.colourRGB[0] = v.colourRGB[1] = v.colourRGB[2] = 1;
    out.push_back(v);
  }
}

class MeshDrawing : public SceneFixture {
 protected:
  // Slot 3: five frames, frame f a square centred on x = f.
  void SetUp() override {
    SceneFixture::SetUp();
    auto object = std::make_unique<MeshObjectX>();
    object->frames.resize(5);
    for (int f = 0; f < 5; ++f) {
      object->frames[f].packedVertices.resize(1);
      AddSquare(object->frames[f].triangleVertices, static_cast<float>(f));
    }
    object->currentVertices = object->frames[0].triangleVertices;
    ComputeBounds(*object);
    ObjectSlot& slot = scene->objects.slots[3];
    slot.objects.push_back(std::move(object));
    slot.loaded = 1;
    SetCamera(1, 100, 60);
    SetCameraPosition(2, 0, 10, 2, 0, 0);
  }

  Pixel PixelOver(double x) { return SceneFixture::PixelOver(x, 0, 0); }

  // The square drawn is white over its centre x and black 0.45 to either side.
  void ExpectSquareAt(double x) {
    EXPECT_EQ(PixelOver(x), kWhite) << x;
    EXPECT_EQ(PixelOver(x - 0.45), kBlack) << x;
    EXPECT_EQ(PixelOver(x + 0.45), kBlack) << x;
  }
};

TEST_F(MeshDrawing, InterpolationBlendsTheNeighbouringFrames) {
  DrawObject(3, 0, 4, 0.5, 1);  // a + (b - a) t = 2: all of frame 2
  ExpectSquareAt(2);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawObject(3, 0, 4, 1.5, 1);  // t folded to 0.5
  ExpectSquareAt(2);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawObject(3, 0, 4, 0.625, 1);  // 2.5: halfway between frames 2 and 3
  ExpectSquareAt(2.5);
}

TEST_F(MeshDrawing, WithoutInterpolationTheBlendRunsFromFrameAToFrameB) {
  DrawObject(3, 1, 3, 0.25, 0);
  ExpectSquareAt(1.5);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawObjectFrame(3, 99);  // beyond the last frame: the last
  ExpectSquareAt(4);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawObjectFrame(3, 0);  // frame 0 from the static buffer, twice
  DrawObjectFrame(3, 0);
  ExpectSquareAt(0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawObjectFrame(3, -5);
  ExpectSquareAt(0);
}

TEST(FrameChoice, FoldsClampsAndOrdersTheFrames) {
  struct Case {
    int a, b;
    float t;
    bool interpolate;
    int base, other;
    float weight;
  } cases[] = {
      {0, 4, 0.5f, true, 2, 3, 1.0f},   {4, 0, 0.25f, true, 4, 3, 0.0f},  {0, 4, 0.6f, true, 2, 3, 0.6f},
      {2, 2, 0.7f, true, 2, 2, 0.0f},   {1, 3, 0.25f, false, 3, 1, 0.25f}, {0, 4, -0.5f, true, 2, 3, 1.0f},
      {0, 40, 0.99f, true, 4, 4, 0.4f}, {-3, 9, 0.0f, false, 4, 0, 0.0f},
  };
  for (const Case& c : cases) {
    const FrameChoice choice = ChooseFrames(5, c.a, c.b, c.t, c.interpolate);
    EXPECT_EQ(choice.base, c.base) << c.a << " " << c.b << " " << c.t;
    EXPECT_EQ(choice.other, c.other) << c.a << " " << c.b << " " << c.t;
    EXPECT_NEAR(choice.weight, c.weight, 1e-4) << c.a << " " << c.b << " " << c.t;
  }
  const FrameChoice nan = ChooseFrames(5, 0, 4, std::numeric_limits<float>::quiet_NaN(), true);
  EXPECT_EQ(nan.weight, nan.weight);
}

TEST_F(MeshDrawing, ObjectsBehindTheEyeAreSkippedUnlessTheEyeIsInside) {
  MeshFrame frame;
  frame.boundingRadius = 1;
  struct Case {
    float x, y, z;
    bool shows;
  } cases[] = {
      {2, 0, 0, true},    // ahead
      {2, 0, 12, false},  // 2 behind the eye
      {2, 0, 10.5f, true},  // behind the eye's point but holding it
      {40, 0, 0, false},  // far to the side
  };
  for (const Case& c : cases) {
    frame.centre[0] = c.x;
    frame.centre[1] = c.y;
    frame.centre[2] = c.z;
    EXPECT_EQ(ObjectMayShow(*scene, frame), c.shows) << c.x << "," << c.y << "," << c.z;
  }
}

TEST_F(MeshDrawing, CelTextureRowsHoldTheColoursThroughTheRamp) {
  MeshObjectX object;
  object.colourTable = {0x0000FF, 0x00FF00, 0xFFFFFFFF};
  int width = 0, height = 0;
  const std::vector<std::uint8_t> texels = CelTexels(scene->celRamp, object, width, height);
  EXPECT_EQ(height, 4);
  EXPECT_EQ(width, 64);
  auto texel = [&](int row, int column, int c) { return texels[(row * width + column) * 4 + c]; };
  EXPECT_EQ(texel(0, 0, 0), 100);   // red through the darkest ramp entry
  EXPECT_EQ(texel(0, 63, 0), 255);
  EXPECT_EQ(texel(1, 4, 1), 160);   // green, second ramp entry
  EXPECT_EQ(texel(1, 4, 0), 0);
  EXPECT_EQ(texel(2, 0, 2), 100);   // a marker row is the ramp as grey
  EXPECT_EQ(texel(3, 0, 0), 100);   // beyond the table: colour 0
  BuildCelTexture(*scene, object);
  EXPECT_FLOAT_EQ(object.celRowStep, 0.25f);
  const GLuint name = object.celTexture;
  EXPECT_TRUE(glIsTexture(name));
  const std::vector<std::uint8_t> longRamp(20, 9);
  CelTexels(longRamp, object, width, height);
  EXPECT_EQ(width, 128);
  // A new ramp drops every cel texture so that it is built again.
  MeshObjectX& held = *scene->objects.slots[3].objects[0];
  held.celTexture = std::move(object.celTexture);
  SetCelRamp(*scene, nullptr, 0);
  EXPECT_EQ(scene->celRamp, std::vector<std::uint8_t>{255});
  EXPECT_EQ(held.celTexture, 0u);
  EXPECT_FALSE(glIsTexture(name));
  // The texture built again is deleted with its slot.
  BuildCelTexture(*scene, held);
  const GLuint rebuilt = held.celTexture;
  EXPECT_TRUE(glIsTexture(rebuilt));
  FreeObjectSlot(scene->objects, 3);
  EXPECT_FALSE(glIsTexture(rebuilt));
}

TEST_F(MeshDrawing, EdgeLinksJoinSharedSidesAndTheLastSharingTriangleWins) {
  CreateCubeObject(scene->objects, 5, 2, 0);
  MeshObjectX& cube = *scene->objects.slots[5].objects[0];
  BuildEdgeAdjacency(cube);
  ASSERT_EQ(cube.edges.size(), cube.frames[0].triangleVertices.size());
  for (const MeshEdge& edge : cube.edges) EXPECT_GE(edge.neighbour, 0);  // closed surface

  // Three triangles share side 0-1: the first links to the last of them, and both later
  // ones link back to the first.
  StartObject(scene->objects, 6, kGroupList);
  for (const Vector3& p : std::initializer_list<Vector3>{
           {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, -1, 0}, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}}) {
    AddObjectVertex(scene->objects, p[0], p[1], p[2], 0, 0, 0xFFFFFF);
  }
  EndObject(scene->objects, 0);
  MeshObjectX& fan = *scene->objects.slots[6].objects[0];
  BuildEdgeAdjacency(fan);
  ASSERT_EQ(fan.edges.size(), 9u);
  EXPECT_EQ(fan.edges[0].neighbour, 2);
  EXPECT_EQ(fan.edges[3].neighbour, 0);
  EXPECT_EQ(fan.edges[6].neighbour, 0);
}

}  // namespace
