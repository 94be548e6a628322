// The object commands on the scene's slots: building, loading (from files, scenes and the
// archive) and reading triangles back.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>

#include "files/archive.h"
#include "gfx3d/mesh_fixture.h"
#include "gfx3d/normal_table.h"
#include "gfx3d/object_commands.h"
#include "gfx3d/object_slots.h"
#include "support/process_runner.h"

using ObjectCommands = MeshFixture;

namespace {

std::array<double, 9> TriangleVertex(const NumberArray& array, int v) {
  std::array<double, 9> values{};
  for (int k = 0; k < 9; ++k) values[k] = ArrayElement(array, v, k);
  return values;
}

}  // namespace

TEST_F(ObjectCommands, CubeHasTwelveOutwardTrianglesTwoPerFace) {
  CreateCubeObject(scene->objects, 9, 2.0f, 0);
  EXPECT_EQ(CountObjectVertices(9), 36);
  std::map<std::pair<int, int>, int> perFace;  // (axis, side) -> triangles
  NumberArray triangle;
  for (int t = 0; t < 12; ++t) {
    GetObjectTriangle(9, 0, t * 3, triangle);
    std::array<std::array<double, 3>, 3> corners{};
    for (int v = 0; v < 3; ++v) {
      for (int axis = 0; axis < 3; ++axis) {
        corners[v][axis] = ArrayElement(triangle, v, axis);
        EXPECT_NEAR(std::fabs(corners[v][axis]), 1.0, 1e-5) << t;
      }
      EXPECT_EQ(ArrayElement(triangle, v, 5), 0x00FFFFFF) << t;
    }
    int faces = 0;
    for (int axis = 0; axis < 3; ++axis) {
      if (corners[0][axis] == corners[1][axis] && corners[1][axis] == corners[2][axis]) {
        ++perFace[{axis, corners[0][axis] > 0}];
        // Counter-clockwise seen from outside: the winding normal points away from the centre.
        const double e1[2] = {corners[1][(axis + 1) % 3] - corners[0][(axis + 1) % 3],
                              corners[1][(axis + 2) % 3] - corners[0][(axis + 2) % 3]};
        const double e2[2] = {corners[2][(axis + 1) % 3] - corners[0][(axis + 1) % 3],
                              corners[2][(axis + 2) % 3] - corners[0][(axis + 2) % 3]};
        EXPECT_GT((e1[0] * e2[1] - e1[1] * e2[0]) * corners[0][axis], 0) << t;
        ++faces;
      }
    }
    EXPECT_EQ(faces, 1) << t;
  }
  EXPECT_EQ(perFace.size(), 6u);
  for (const auto& [face, count] : perFace) EXPECT_EQ(count, 2);
}

TEST_F(ObjectCommands, BuildingReadingBackAndRefusedNumbers) {
  StartObject(4);
  AddObjectVertex(0, 0, 0, 0, 0, 0x0000FF);
  AddObjectVertex(2, 0, 0, 1, 0, 0x0000FF);
  AddObjectVertex(0, 2, 0, 0, 1, 0x00FF00);
  AddObjectVertex(2, 2, 0, 1, 1, 0x00FF00);
  EndObject();
  AddObjectVertex(9, 9, 9, 0, 0, 0);  // after the end: dropped
  EXPECT_EQ(CountObjectVertices(4), 6);
  NumberArray triangle;
  GetObjectTriangle(4, 0, 3, triangle);  // the strip's second triangle: c, b, d
  const std::array<double, 9> c = TriangleVertex(triangle, 0);
  EXPECT_NEAR(c[1], 2.0, 1e-5);
  EXPECT_NEAR(c[4], -1.0, 1e-5);  // v comes back negated
  EXPECT_EQ(c[5], 0x00FF00);
  EXPECT_NEAR(TriangleVertex(triangle, 1)[0], 2.0, 1e-5);
  EXPECT_NEAR(TriangleVertex(triangle, 2)[0], 2.0, 1e-5);
  const ObjectSlot& slot = scene->objects.slots[4];
  EXPECT_TRUE(slot.loaded && !slot.isScene);
  // The scene's tangent setting (2) gives the strip tangents along +x, where u grows.
  const PackedVertex& first = slot.objects[0]->frames[0].packedVertices[1];
  EXPECT_EQ(NormalTable[first.tangentIndex][0], 1.0f);

  const std::array<double, 9> zero{};
  for (auto [frame, n] : {std::pair{1.0, 0.0}, {-1.0, 0.0}, {0.0, 6.0}, {0.0, -3.0}}) {
    GetObjectTriangle(4, frame, n, triangle);
    EXPECT_EQ(TriangleVertex(triangle, 0), zero) << frame << " " << n;
  }
  for (double bad : {-1.0, 4096.0, 1e300}) {
    StartObject(bad);
    AddObjectVertex(1, 1, 1, 0, 0, 0);
    EXPECT_EQ(scene->objects.underConstruction, -1);
    EXPECT_EQ(LoadObject(BasicString(ModelPath("quad.ddd").c_str()), bad), 0);
    EXPECT_EQ(SaveObject(BasicString((models->Path() + "/bad.ddd").c_str()), bad), 0);
    EXPECT_EQ(CountObjectVertices(bad), 0);
  }
  // Two vertices are too few: the slot is loaded but empty.
  StartObject(5);
  AddObjectVertex(0, 0, 0, 0, 0, 0);
  AddObjectVertex(1, 0, 0, 0, 0, 0);
  EndObject();
  EXPECT_TRUE(scene->objects.slots[5].loaded);
  EXPECT_EQ(CountObjectVertices(5), 0);
  // A name that resolves to nothing leaves the slot as it was.
  EXPECT_EQ(LoadObject(BasicString(ModelPath("missing.ddd").c_str()), 4), 0);
  EXPECT_EQ(CountObjectVertices(4), 6);
  EXPECT_EQ(SaveObject(BasicString((models->Path() + "/built.ddd").c_str()), 4), 1);
  EXPECT_EQ(LoadObject(BasicString((models->Path() + "/built.ddd").c_str()), 6), 1);
  EXPECT_EQ(CountObjectVertices(6), 6);
}

TEST_F(ObjectCommands, SceneFileLoadsModelsAndTexturesFromItsFolder) {
  ASSERT_EQ(LoadObject(BasicString(ModelPath("scene/world.ddw").c_str()), 3), 1);
  const ObjectSlot& slot = scene->objects.slots[3];
  EXPECT_TRUE(slot.loaded && slot.isScene);
  ASSERT_EQ(slot.textures.size(), 2u);
  EXPECT_NE(slot.textures[0], 0u);
  EXPECT_NE(slot.textures[1], 0u);
  ASSERT_EQ(slot.objects.size(), 3u);
  EXPECT_EQ(slot.objects[0]->textureA, 0);  // "1ta=1"
  EXPECT_EQ(slot.objects[0]->textureB, 1);
  EXPECT_EQ(slot.objects[1]->textureA, 0);  // "2ta=0"
  EXPECT_TRUE(slot.objects[2]->frames.empty());  // the missing model stays empty
  EXPECT_EQ(CountObjectVertices(3), 6 + 3);
  NumberArray triangle;
  GetObjectTriangle(3, 0, 6, triangle);  // the first vertex of the second object
  EXPECT_EQ(ArrayElement(triangle, 0, 5), 0x0080FF);
  // Freeing the slot deletes its textures.
  const GLuint texture = slot.textures[1];
  EXPECT_TRUE(glIsTexture(texture));
  FreeObjectSlot(scene->objects, 3);
  EXPECT_FALSE(glIsTexture(texture));
}

TEST_F(ObjectCommands, ModelsLoadFromTheArchive) {
  ScratchDirectory packed;
  const std::string archive = packed.Path() + "/models.vtl";
  const ProcessResult written = RunProcess(
      "/usr/bin/python3", {std::string(TEST_SOURCE_DIR) + "/files/write_archive.py", archive, ModelPath("quad.ddd"),
                           ModelPath("triangle.txt")});
  ASSERT_EQ(written.exitCode, 0) << written.output;
  CreateArchiveSlots(packed.Path().c_str());
  SelectArchive(BasicString(archive.c_str()), BasicString(""));
  EXPECT_EQ(LoadObject(BasicString("art/quad.ddd"), 1), 1);
  EXPECT_EQ(LoadObject(BasicString("art/triangle.txt"), 2), 1);
  ReleaseArchiveSlots();
  EXPECT_EQ(CountObjectVertices(1), 6);
  EXPECT_EQ(CountObjectVertices(2), 3);
}
