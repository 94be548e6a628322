// Triangles, tangents, bounds and packing of mesh objects held in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx3d/mesh_tangents.h"
#include "gfx3d/model_pack.h"
#include "gfx3d/model_scene_description.h"
#include "gfx3d/normal_table.h"

namespace {

constexpr std::uint32_t kRed = 0x0000FF;

// A one-frame object whose slot i has packed x = xs[i] (scale 1, offset 0, so x unpacks
// to itself); a negative entry is a marker whose colour is -entry's group marker.
MeshObjectX ObjectWithSlots(const std::vector<int>& xs) {
  MeshObjectX object;
  object.colourTable = {kRed, kListMarker, kStripMarker, kFanMarker};
  MeshFrame& frame = object.frames.emplace_back();
  for (int x : xs) {
    PackedVertex packed;
    packed.x = static_cast<std::uint8_t>(x < 0 ? 0 : x);
    packed.colourIndex = x < 0 ? static_cast<std::uint32_t>(-x) : 0;
    frame.packedVertices.push_back(packed);
  }
  return object;
}

std::vector<std::vector<int>> TriangleXs(const MeshObjectX& object) {
  std::vector<std::vector<int>> triangles;
  const std::vector<MeshVertex>& vertices = object.frames[0].triangleVertices;
  for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
    triangles.push_back({static_cast<int>(vertices[i].position[0]), static_cast<int>(vertices[i + 1].position[0]),
                         static_cast<int>(vertices[i + 2].position[0])});
  }
  return triangles;
}

int TableIndexOf(float x, float y, float z) {
  for (int i = 0; i < kNormalTableSize; ++i) {
    if (NormalTable[i][0] == x && NormalTable[i][1] == y && NormalTable[i][2] == z) return i;
  }
  return -1;
}

}  // namespace

TEST(NormalTable, HoldsThePublishedFirstAndLastEntries) {
  EXPECT_FLOAT_EQ(NormalTable[0][0], -0.525731f);
  EXPECT_FLOAT_EQ(NormalTable[0][1], 0.0f);
  EXPECT_FLOAT_EQ(NormalTable[0][2], 0.850651f);
  EXPECT_FLOAT_EQ(NormalTable[161][0], -0.688191f);
  EXPECT_FLOAT_EQ(NormalTable[161][1], -0.587785f);
  EXPECT_FLOAT_EQ(NormalTable[161][2], -0.425325f);
}

TEST(BuildTriangles, GroupsGiveTheirTrianglesInDrawingOrder) {
  struct Case {
    const char* name;
    std::vector<int> slots;
    std::vector<std::vector<int>> triangles;
  };
  const std::vector<Case> cases = {
      {"strip of five", {-2, 1, 2, 3, 4, 5}, {{1, 2, 3}, {3, 2, 4}, {3, 4, 5}}},
      {"fan of four", {-3, 1, 2, 3, 4}, {{1, 2, 3}, {1, 3, 4}}},
      {"list leftovers dropped at the next marker", {-1, 1, 2, 3, 4, 5, -1, 6, 7, 8}, {{1, 2, 3}, {6, 7, 8}}},
      {"slots before any marker form a list", {1, 2, 3, 4}, {{1, 2, 3}}},
  };
  for (const Case& c : cases) {
    MeshObjectX object = ObjectWithSlots(c.slots);
    object.BuildTriangles();
    EXPECT_EQ(TriangleXs(object), c.triangles) << c.name;
    EXPECT_EQ(object.currentVertices.size(), object.frames[0].triangleVertices.size()) << c.name;
    EXPECT_TRUE(object.hasColours) << c.name;
  }
}

TEST(ComputeTangents, ATriangleWithoutTextureDirectionAddsNothing) {
  // Two list triangles in the plane z = 0: the first maps u along x and v along y, the
  // second has the same texture coordinate at every corner.
  MeshObjectX object = ObjectWithSlots({-1, 0, 1, 0, 0, 1, 0});
  std::vector<PackedVertex>& slots = object.frames[0].packedVertices;
  slots[3].y = 1;
  slots[6].y = 1;
  object.textureU = {0, 0, 1, 0, 0.5f, 0.5f, 0.5f};
  object.textureV = {0, 0, 0, -1, 0.5f, 0.5f, 0.5f};  // unpacking negates v
  ComputeTangents(object, true, false, false);
  EXPECT_TRUE(object.tangentsDone);
  const int alongX = TableIndexOf(1, 0, 0);
  const int alongY = TableIndexOf(0, 1, 0);
  ASSERT_GE(alongX, 0);
  ASSERT_GE(alongY, 0);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(slots[i].tangentIndex, alongX) << i;
    EXPECT_EQ(slots[i].bitangentIndex, alongY) << i;
  }
  for (int i = 4; i <= 6; ++i) {
    EXPECT_EQ(slots[i].tangentIndex, 0) << i;  // a zero sum picks entry 0
    EXPECT_EQ(slots[i].bitangentIndex, 0) << i;
  }
  // Done tangents and no weld: a second call changes nothing, even with normals.
  const std::vector<PackedVertex> before = slots;
  ComputeTangents(object, true, true, false);
  for (std::size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i].normalIndex, before[i].normalIndex) << i;
}

TEST(ComputeBounds, CentreAndRadiusOfTheTriangles) {
  MeshObjectX object = ObjectWithSlots({-1, 0, 4, 0});
  object.frames[0].packedVertices[3].y = 6;
  object.frames.emplace_back();  // a frame without triangles
  object.BuildTriangles();
  ComputeBounds(object);
  EXPECT_FLOAT_EQ(object.frames[0].centre[0], 4.0f / 3);
  EXPECT_FLOAT_EQ(object.frames[0].centre[1], 2.0f);
  EXPECT_FLOAT_EQ(object.frames[0].boundingRadius, std::sqrt(16.0f / 9 + 16.0f));
  EXPECT_EQ(object.frames[1].boundingRadius, 0.0f);
  EXPECT_EQ(object.frames[1].centre[0], 0.0f);
}

TEST(PackMeshObject, ExtentScaleColoursAndMarkers) {
  MeshObjectX object;
  MeshFrame& frame = object.frames.emplace_back();
  auto add = [&](float x, float y, float z, std::uint32_t colour, float u) {
    MeshVertex vertex{};
    vertex.position[0] = x;
    vertex.position[1] = y;
    vertex.position[2] = z;
    vertex.normal[2] = 5;  // normalised before the table search
    vertex.colour = colour;
    vertex.texCoord[0] = u;
    frame.fullVertices.push_back(vertex);
  };
  add(0, 0, 0, kStripMarker, 0);
  add(-1, 3, 7, kRed, 0.25f);
  add(0.3f, 3, 7, 0x00FF00, 0.5f);
  add(1000, 99, -99, kFanMarker, 0);  // outside the extent: markers do not count
  add(0.1f, 3, 7, kRed, 0.75f);
  object.tangentsDone = true;
  PackMeshObject(object);

  EXPECT_FALSE(object.tangentsDone);
  EXPECT_TRUE(frame.fullVertices.empty());
  EXPECT_EQ(object.colourTable, (std::vector<std::uint32_t>{kStripMarker, kRed, 0x00FF00, kFanMarker}));
  EXPECT_EQ(object.textureU, (std::vector<float>{0, 0.25f, 0.5f, 0, 0.75f}));
  EXPECT_FLOAT_EQ(frame.scale[0], 1.3f / 255);
  EXPECT_EQ(frame.scale[1], 1.0f);  // a flat axis packs with scale 1
  EXPECT_EQ(frame.offset[1], -3.0f);
  const std::vector<PackedVertex>& packed = frame.packedVertices;
  ASSERT_EQ(packed.size(), 5u);
  EXPECT_EQ(packed[1].x, 0);
  EXPECT_EQ(packed[2].x, 255);  // the frame maximum
  EXPECT_EQ(packed[2].y, 0);
  EXPECT_EQ(packed[4].x, 215);
  EXPECT_EQ(packed[3].x, packed[2].x);  // a marker repeats the slot before it
  EXPECT_EQ(packed[3].normalIndex, packed[2].normalIndex);
  EXPECT_EQ(packed[1].normalIndex, TableIndexOf(0, 0, 1));
  EXPECT_EQ(packed[4].colourIndex, 1u);
}

TEST(SceneDescription, CountsAreCutToTheNumberedKeysAndTextureKeysSelect) {
  const SceneDescription scene = ParseSceneDescription(
      ";DDW\n[textures]\ncount=999999999\n3=c.bmp\n1=a.bmp\n[objects]\ncount=2\n1=m.ddd\n1ta=5\n1tb=-4\n2=n.txt\n");
  EXPECT_EQ(scene.texturePaths, (std::vector<std::string>{"a.bmp", "", "c.bmp"}));
  ASSERT_EQ(scene.models.size(), 2u);
  EXPECT_EQ(scene.models[0].textureA, 4);
  EXPECT_EQ(scene.models[0].textureB, 0);
  EXPECT_EQ(scene.models[1].path, "n.txt");
  EXPECT_EQ(SceneFolder("a\\b/c\\scene.ddw"), "a\\b/c\\");
  EXPECT_EQ(SceneFolder("scene.ddw"), "");
}
