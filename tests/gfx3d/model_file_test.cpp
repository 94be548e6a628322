// Loading, packing and saving model files written by an independent writer.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "gfx3d/mesh_fixture.h"
#include "gfx3d/model_file.h"
#include "gfx3d/normal_table.h"
#include "gfx3d/object_slots.h"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<float> Positions(const MeshObjectX& object, std::size_t frame) {
  std::vector<float> positions;
  for (const MeshVertex& vertex : object.frames[frame].triangleVertices) {
    positions.insert(positions.end(), vertex.position, vertex.position + 3);
  }
  return positions;
}

void ExpectPositions(const std::vector<float>& actual, const std::vector<float>& expected, const char* name = "") {
  ASSERT_EQ(actual.size(), expected.size()) << name;
  for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << name << " " << i;
}

}  // namespace

using ModelFile = MeshFixture;

TEST_F(ModelFile, HostileAndDamagedFilesFailWithTheirLogLines) {
  struct Case {
    const char* name;
    const char* lines;  // before the path
  };
  const Case cases[] = {
      {"version_near.ddd", "Wrong .ddd version.\r\n# read error\r\n"},
      {"huge_vertices.ddd", "# read error\r\n"},
      {"huge_colours.ddd", "# read error\r\n"},
      {"huge_frames.ddd", "# read error\r\n"},
      {"truncated.ddd", "# read error\r\n"},
      {"short_header.ddd", "# read error\r\n"},
      {"bad_normal.ddd", "# read error\r\n"},
      {"bad_colour.ddd", "# read error\r\n"},
      {"not_ddda.txt", "# read error\r\n"},
      {"version12.txt", "# read error\r\n"},
      {"bad_vertex.txt", "# read error\r\n"},
      {"bad_texcoord.txt", "# read error\r\n"},
      {"huge_product.txt", "# malloc error\r\n"},
  };
  for (const Case& c : cases) {
    DeleteErrorLog();
    const std::string path = ModelPath(c.name);
    MeshObjectX object;
    EXPECT_FALSE(LoadModelFile(object, path.c_str(), false)) << c.name;
    EXPECT_TRUE(object.frames.empty() && object.colourTable.empty() && object.textureU.empty()) << c.name;
    EXPECT_EQ(ReadErrorLog(), std::string(c.lines) + path + "\r\n") << c.name;
    scene->objects.slots[7].loaded = 1;
    EXPECT_FALSE(LoadObjectSlot(scene->objects, 7, path.c_str(), kNoColourKey)) << c.name;
    EXPECT_TRUE(scene->objects.slots[7].objects.empty() && !scene->objects.slots[7].loaded) << c.name;
  }
  DeleteErrorLog();
  MeshObjectX object;
  EXPECT_FALSE(LoadModelFile(object, ModelPath("missing.ddd").c_str(), false));
  EXPECT_EQ(ReadErrorLog(), "");
  // Files that load but hold no slot leave the slot empty.
  for (const char* name : {"no_frames.ddd", "huge_count.txt"}) {
    EXPECT_TRUE(LoadModelFile(object, ModelPath(name).c_str(), false)) << name;
    EXPECT_FALSE(LoadObjectSlot(scene->objects, 7, ModelPath(name).c_str(), kNoColourKey)) << name;
  }
}

TEST_F(ModelFile, BinaryModelLoadsExpandsAndSavesByteForByte) {
  const std::string path = ModelPath("quad.ddd");
  MeshObjectX object;
  ASSERT_TRUE(LoadModelFile(object, path.c_str(), true));
  EXPECT_TRUE(object.tangentsDone);
  ASSERT_EQ(object.frames.size(), 2u);
  const MeshVertex& corner = object.frames[0].fullVertices[3];  // packed (255, 255, 0), normal 161, colour 2
  EXPECT_FLOAT_EQ(corner.position[0], (255 - 1.5f) * 0.5f);
  EXPECT_FLOAT_EQ(corner.position[1], (255 - 2.0f) * 0.25f);
  EXPECT_EQ(corner.normal[0], NormalTable[161][0]);
  EXPECT_EQ(corner.texCoord[1], -1.0f);
  EXPECT_EQ(corner.colour, 0x00FF00u);
  EXPECT_EQ(corner.colourRGB[1], 1.0f);
  EXPECT_EQ(object.frames[0].fullVertices[0].colourRGB[0], 1.0f);  // the marker

  const std::string saved = models->Path() + "/saved.ddd";
  ASSERT_TRUE(SaveModelFile(object, saved.c_str()));
  EXPECT_EQ(FileBytes(saved), FileBytes(path));
  EXPECT_FALSE(SaveModelFile(object, (models->Path() + "/no/such/folder.ddd").c_str()));
  object.colourTable.resize(300, 0x123456);
  object.frames[1].packedVertices[2].colourIndex = 256;  // does not fit the file's byte
  EXPECT_FALSE(SaveModelFile(object, saved.c_str()));
  EXPECT_EQ(FileBytes(saved), FileBytes(path));

  ASSERT_TRUE(LoadObjectSlot(scene->objects, 0, path.c_str(), kNoColourKey));
  const MeshObjectX& loaded = *scene->objects.slots[0].objects[0];
  EXPECT_EQ(loaded.frames[0].triangleVertices.size(), 6u);  // one fan of four corners
  EXPECT_EQ(Positions(loaded, 1)[0], 20.0f);                // (10 - 0) * 2
  EXPECT_GT(loaded.frames[0].boundingRadius, 0.0f);
}

TEST_F(ModelFile, TextModelsReadTheSameTriangleThroughCommentsAndLongTokens) {
  MeshObjectX reference;
  ASSERT_TRUE(LoadModelFile(reference, ModelPath("triangle.txt").c_str(), false));
  reference.BuildTriangles();
  EXPECT_EQ(reference.colourTable, (std::vector<std::uint32_t>{kFanMarker, 0x0080FF}));
  ExpectPositions(Positions(reference, 0), {0, 0, 0, 2, 0, 0, 0, 4, 0});
  EXPECT_EQ(reference.textureU, (std::vector<float>{0, 0, 1, 0}));
  EXPECT_EQ(reference.frames[0].triangleVertices[2].texCoord[1], -1.0f);
  EXPECT_FALSE(reference.tangentsDone);
  for (const char* name : {"comments.txt", "long_comment.txt", "long_token.txt"}) {
    MeshObjectX object;
    ASSERT_TRUE(LoadModelFile(object, ModelPath(name).c_str(), false)) << name;
    object.BuildTriangles();
    ExpectPositions(Positions(object, 0), Positions(reference, 0), name);
    EXPECT_EQ(object.textureV, reference.textureV) << name;
    EXPECT_EQ(object.frames[0].packedVertices[1].normalIndex, reference.frames[0].packedVertices[1].normalIndex) << name;
  }
}

TEST_F(ModelFile, TextModelsEndingEarlyFlatOrInTwoFrames) {
  MeshObjectX early;
  ASSERT_TRUE(LoadModelFile(early, ModelPath("ends_early.txt").c_str(), false));
  early.BuildTriangles();
  ExpectPositions(Positions(early, 0), {0, 0, 0, 4, 0, 0, 4, 2, 0});
  EXPECT_EQ(early.frames[0].packedVertices[3].normalIndex, 0);  // the missing normal is zero
  EXPECT_EQ(early.textureU, (std::vector<float>{0, 0, 0, 0}));   // no texture coordinates

  MeshObjectX flat;
  ASSERT_TRUE(LoadModelFile(flat, ModelPath("flat.txt").c_str(), false));
  EXPECT_EQ(flat.frames[0].scale[1], 1.0f);
  EXPECT_EQ(flat.frames[0].scale[2], 1.0f);
  EXPECT_EQ(flat.frames[0].packedVertices[2].x, 255);

  MeshObjectX twoFrames;
  ASSERT_TRUE(LoadModelFile(twoFrames, ModelPath("two_frames.txt").c_str(), false));
  twoFrames.BuildTriangles();
  ASSERT_EQ(twoFrames.frames.size(), 2u);
  ExpectPositions(Positions(twoFrames, 0), {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0});
  EXPECT_NEAR(Positions(twoFrames, 1)[6], 2.0f, 1e-5);
}
