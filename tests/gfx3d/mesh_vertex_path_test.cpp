// How vertices travel to GL: a plain blend streams positions and normals beside a buffer
// of the rest and must draw exactly what the full vertices from client memory draw, also
// after draws that change the rest; and the edge links find positions within tolerance
// wherever the pair falls on the search grid.

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "gfx3d/draw_commands.h"
#include "gfx3d/object_slots.h"
#include "gfx3d/scene_commands.h"
#include "gfx3d/shadow_volume.h"
#include "scene_fixture.h"

namespace {

// Frame f: a square of side 1.2 centred on x = 0.4 f, coloured and tilted per frame.
std::unique_ptr<MeshObjectX> TwoFrameSquare() {
  auto object = std::make_unique<MeshObjectX>();
  object->frames.resize(2);
  const float colours[2][3] = {{1.0f, 0.5f, 0.25f}, {0.2f, 0.9f, 0.4f}};
  const float corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
  for (int f = 0; f < 2; ++f) {
    MeshFrame& frame = object->frames[static_cast<std::size_t>(f)];
    frame.packedVertices.resize(1);
    for (const auto& c : corners) {
      MeshVertex v{};
      v.position[0] = 0.4f * f + 0.6f * c[0];
      v.position[1] = 0.6f * c[1];
      v.normal[0] = 0.3f * c[0] * (f == 0 ? 1 : -1);
      v.normal[2] = 1;
      for (int k = 0; k < 3; ++k) v.colourRGB[k] = colours[f][k];
      frame.triangleVertices.push_back(v);
    }
  }
  object->currentVertices = object->frames[0].triangleVertices;
  object->hasColours = true;
  ComputeBounds(*object);
  return object;
}

class StreamedBlend : public SceneFixture {
 protected:
  std::vector<std::uint8_t> Shown() const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(renderer->surfaceWidth) * renderer->surfaceHeight * 4);
    glReadPixels(0, 0, renderer->surfaceWidth, renderer->surfaceHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  // A blend, a frame drawn with a texture offset (which copies frame 1's colours into
  // the current vertices), and a blend again: what each shows.
  std::vector<std::vector<std::uint8_t>> DrawSequence(int slot) {
    ObjectSlot& target = scene->objects.slots[static_cast<std::size_t>(slot)];
    target.objects.push_back(TwoFrameSquare());
    target.loaded = 1;
    std::vector<std::vector<std::uint8_t>> shown;
    auto frame = [&](auto draw) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      SetCamera(1, 100, 60);
      SetCameraPosition(0.2, 0, 4, 0.2, 0, 0);
      SetLight(0, 0xFFFFFF, 0, 0, 0, -0.2, 0, -1, 180);
      draw();
      shown.push_back(Shown());
    };
    frame([&] { DrawObject(slot, 0, 1, 0.3, 0); });
    frame([&] {
      SetTextureOffset(0.5, 0);
      DrawObjectFrame(slot, 1);
      SetTextureOffset(0, 0);
    });
    frame([&] { DrawObject(slot, 0, 1, 0.6, 0); });
    return shown;
  }
};

TEST_F(StreamedBlend, DrawsWhatTheFullVerticesFromClientMemoryDraw) {
  const std::vector<std::vector<std::uint8_t>> streamed = DrawSequence(3);
  const GlExtensionEntryPoints saved = renderer->extensions;
  renderer->extensions.glGenBuffersARB = nullptr;  // no buffer objects: client arrays
  const std::vector<std::vector<std::uint8_t>> client = DrawSequence(4);
  renderer->extensions = saved;
  ASSERT_EQ(streamed.size(), client.size());
  for (std::size_t i = 0; i < streamed.size(); ++i) EXPECT_TRUE(streamed[i] == client[i]) << "draw " << i;
  EXPECT_FALSE(streamed[0] == streamed[2]);                        // the blends differ
  EXPECT_FALSE(streamed[0] == std::vector<std::uint8_t>(streamed[0].size()));  // and show something
}

// One object of three triangles on a grid of packed x steps of 6e-6: triangle 1 repeats
// triangle 0's first side with x one step further (within the 1e-5 tolerance), triangle
// 2 with x four steps further (outside it). x of step 100 lies 3e-6 below near.
MeshObjectX SidesNear(double near) {
  MeshObjectX object;
  object.colourTable = {kListMarker, 0xFFFFFF};
  object.frames.resize(1);
  MeshFrame& frame = object.frames[0];
  frame.scale[0] = 6e-6f;
  frame.offset[0] = static_cast<float>(100 - (near - 3e-6) / 6e-6);
  auto slot = [&](int x, int y, int z, std::uint32_t colour = 1) {
    PackedVertex packed;
    packed.x = static_cast<std::uint8_t>(x);
    packed.y = static_cast<std::uint8_t>(y);
    packed.z = static_cast<std::uint8_t>(z);
    packed.colourIndex = colour;
    frame.packedVertices.push_back(packed);
  };
  slot(0, 0, 0, 0);
  // Corners (x, y, z) in steps: the side from y = 0 to y = 1 (reversed in triangle 1),
  // then a corner of the triangle's own.
  for (auto [x, firstY, secondY, ownZ] : {std::tuple{100, 0, 1, 2}, std::tuple{101, 1, 0, 3}, std::tuple{104, 0, 1, 4}}) {
    slot(x, firstY, 0);
    slot(x, secondY, 0);
    slot(x, 0, ownZ);
  }
  object.BuildTriangles();
  return object;
}

TEST(EdgeLinks, PositionsWithinToleranceMeetWhereverThePairFalls) {
  for (double near : {0.0, 1.0 / 1024, 3.0 / 1024, 0.25, 1e-5 * 37, -5.0 / 1024}) {
    MeshObjectX object = SidesNear(near);
    BuildEdgeAdjacency(object);
    ASSERT_EQ(object.edges.size(), 9u) << near;
    EXPECT_EQ(object.edges[0].neighbour, 1) << near;
    EXPECT_EQ(object.edges[3].neighbour, 0) << near;
    EXPECT_EQ(object.edges[6].neighbour, -1) << near;
  }
}

}  // namespace
