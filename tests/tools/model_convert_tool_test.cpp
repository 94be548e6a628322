// The converter as a user runs it: files of other formats, written by write_sources.py,
// converted and loaded back with the engine's own loaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "gfx2d/png_reader.h"
#include "gfx3d/mesh_fixture.h"
#include "gfx3d/model_file.h"
#include "gfx3d/object_slots.h"

namespace {

ScratchDirectory* sources = nullptr;

class ConvertedFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sources = new ScratchDirectory;
    const ProcessResult result =
        RunProcess("/usr/bin/python3", {std::string(TEST_SOURCE_DIR) + "/tools/write_sources.py", sources->Path()});
    ASSERT_EQ(result.exitCode, 0) << result.output;
  }
  static void TearDownTestSuite() {
    delete sources;
    sources = nullptr;
  }

  static std::string Source(const std::string& name) { return sources->Path() + "/" + name; }
  static ProcessResult Convert(std::vector<std::string> arguments) {
    return RunProcess(ProgramPath("dddconvert"), arguments, {}, 120, sources->Path());
  }
};

struct Corner {
  float x, y, z;
  std::uint32_t colour;
};

std::vector<Corner> Corners(const MeshObjectX& object, std::size_t frame) {
  std::vector<Corner> corners;
  for (const MeshVertex& v : object.frames[frame].triangleVertices) {
    corners.push_back({v.position[0], v.position[1], v.position[2], v.colour});
  }
  return corners;
}

}  // namespace

TEST_F(ConvertedFiles, LoadWithTheirTrianglesFramesColoursAndPositions) {
  struct Case {
    std::vector<std::string> arguments;
    std::size_t triangles, frames;
    std::set<std::uint32_t> colours;
    // How far corners have risen in frame f (top: the corner is on the quad's upper edge).
    float (*rise)(std::size_t frame, bool top);
  };
  const Case cases[] = {
      {{"cube.obj", "cube.ddd"}, 12, 1, {0x0000FF, 0x00FF00}, [](std::size_t, bool) { return 0.0f; }},
      // The morph target lifts the top edge by 1 per second, baked at 10 frames a second.
      {{"morph.gltf", "morph.ddd"}, 2, 11, {0xFF0000}, [](std::size_t f, bool top) { return top ? f / 10.0f : 0; }},
      {{"--fps", "5", "--frames", "1:3", "morph.gltf", "morph_part.ddd"}, 2, 3, {0xFF0000},
       [](std::size_t f, bool top) { return top ? (f + 1) / 5.0f : 0; }},
      // The upper joint rises by 2 per second.
      {{"--animation", "rise", "skin.gltf", "skin.ddd"}, 2, 11, {0xFF0000},
       [](std::size_t f, bool top) { return top ? f / 5.0f : 0; }},
      // The second stored frame is 4 units higher in the file's z, the engine's y.
      {{"frames.md2", "md2.ddd"}, 1, 2, {/* the reader's default grey, not checked */}, [](std::size_t f, bool) { return 4.0f * f; }},
  };
  for (const Case& c : cases) {
    const std::string& output = c.arguments.back();
    const ProcessResult result = Convert(c.arguments);
    ASSERT_EQ(result.exitCode, 0) << output << ": " << result.output;
    EXPECT_NE(result.output.find(output + ": " + std::to_string(c.triangles) + " triangles, " +
                                 std::to_string(c.frames) + (c.frames == 1 ? " frame, " : " frames, ")),
              std::string::npos)
        << result.output;
    MeshObjectX object;
    ASSERT_TRUE(LoadModelFile(object, Source(output).c_str(), false)) << output;
    object.BuildTriangles();
    ASSERT_EQ(object.frames.size(), c.frames) << output;
    const std::vector<Corner> first = Corners(object, 0);
    ASSERT_EQ(first.size(), c.triangles * 3) << output;
    std::set<std::uint32_t> colours;
    for (const Corner& corner : first) colours.insert(corner.colour);
    if (!c.colours.empty()) {
      EXPECT_EQ(colours, c.colours) << output;
    }
    for (std::size_t f = 0; f < c.frames; ++f) {
      const std::vector<Corner> corners = Corners(object, f);
      for (std::size_t i = 0; i < corners.size(); ++i) {
        const bool top = first[i].y > 0.5f;
        const float y = first[i].y + c.rise(f, top) - c.rise(0, top);
        // Packing keeps 256 steps per axis over the frame's extent (at most 4.1 here).
        EXPECT_NEAR(corners[i].x, first[i].x, 0.02f) << output << " frame " << f << " corner " << i;
        EXPECT_NEAR(corners[i].y, y, 0.02f) << output << " frame " << f << " corner " << i;
        EXPECT_NEAR(corners[i].z, first[i].z, 0.02f) << output << " frame " << f << " corner " << i;
      }
    }
  }
  // The cube keeps its corners exactly (an extent of 1 packs in whole steps), and only the
  // triangles of the top face carry the top face's green.
  MeshObjectX cube;
  ASSERT_TRUE(LoadModelFile(cube, Source("cube.ddd").c_str(), false));
  cube.BuildTriangles();
  const std::vector<Corner> corners = Corners(cube, 0);
  for (std::size_t i = 0; i < corners.size(); i += 3) {
    bool onTop = true;
    for (std::size_t k = i; k < i + 3; ++k) {
      for (const float p : {corners[k].x, corners[k].y, corners[k].z}) EXPECT_NEAR(p, std::round(p), 1e-5f);
      onTop = onTop && corners[k].y > 0.5f;
    }
    EXPECT_EQ(corners[i].colour, onTop ? 0x00FF00u : 0x0000FFu) << "triangle " << i / 3;
  }
}

TEST_F(ConvertedFiles, DamagedMissingAndEmptyFilesFailWithAClearMessage) {
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {{"damaged.gltf", "out.ddd"}, 1, "dddconvert: cannot read \"damaged.gltf\": "},
      {{"missing.obj", "out.ddd"}, 1, "dddconvert: cannot open \"missing.obj\": No such file or directory"},
      {{"empty.gltf", "out.ddd"}, 1, "dddconvert: no meshes with triangles in \"empty.gltf\""},
      {{"--animation", "walk", "morph.gltf", "out.ddd"}, 1, "dddconvert: no animation \"walk\"; the file has 0 \"lift\""},
      {{"--frames", "0:11", "morph.gltf", "out.ddd"}, 1, "dddconvert: frames 0:11 are outside 0:10"},
      {{"cube.obj", "no/such/folder/out.ddd"}, 1, "dddconvert: cannot write \"no/such/folder/out.ddd\""},
      {{"--fps", "0", "morph.gltf", "out.ddd"}, 2, "dddconvert: --fps needs a number above 0"},
      {{"cube.obj"}, 2, "dddconvert: needs INPUT and OUTPUT\nusage: dddconvert"},
  };
  for (const Case& c : cases) {
    const ProcessResult result = Convert(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.message << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
    EXPECT_FALSE(sources->Exists("out.ddd")) << c.message;
  }
}

using ConvertedScene = MeshFixture;

TEST_F(ConvertedScene, LoadsAsASceneWithOneModelPerMaterialAndItsTexture) {
  ScratchDirectory sourceFolder;
  ASSERT_EQ(RunProcess("/usr/bin/python3", {std::string(TEST_SOURCE_DIR) + "/tools/write_sources.py", sourceFolder.Path()}).exitCode, 0);
  const ProcessResult result = RunProcess(ProgramPath("dddconvert"), {"cube.obj", "--scene", "out/cube.ddw"}, {}, 120,
                                          sourceFolder.Path());
  ASSERT_NE(result.exitCode, 0) << "the output folder does not exist yet";
  sourceFolder.WriteFile("out/.keep", "");
  ASSERT_EQ(RunProcess(ProgramPath("dddconvert"), {"cube.obj", "--scene", "out/cube.ddw"}, {}, 120, sourceFolder.Path())
                .exitCode,
            0);
  const std::string scenePath = sourceFolder.Path() + "/out/cube.ddw";
  ASSERT_TRUE(LoadObjectSlot(scene->objects, 3, scenePath.c_str(), kNoColourKey));
  const ObjectSlot& slot = scene->objects.slots[3];
  EXPECT_TRUE(slot.loaded && slot.isScene);
  // Assimp splits the cube by material: five red faces with the checker, the green top
  // with a white texture of its own.
  ASSERT_EQ(slot.objects.size(), 2u);
  ASSERT_EQ(slot.textures.size(), 2u);
  EXPECT_NE(slot.textures[0], 0u);
  EXPECT_NE(slot.textures[1], 0u);
  EXPECT_EQ(slot.objects[0]->frames[0].triangleVertices.size(), 30u);
  EXPECT_EQ(slot.objects[1]->frames[0].triangleVertices.size(), 6u);
  EXPECT_EQ(slot.objects[0]->textureA, 0);
  EXPECT_EQ(slot.objects[1]->textureA, 1);
  // The 3 x 2 checker is scaled to 4 x 2 so the engine's padding adds nothing: its top row
  // starts red, its bottom row is blue.
  ImageBuffer checker;
  ASSERT_TRUE(LoadPng((sourceFolder.Path() + "/out/cube_1.png").c_str(), kNoColourKey, checker));
  ASSERT_EQ(checker.width, 4);
  ASSERT_EQ(checker.height, 2);
  EXPECT_EQ(std::vector<std::uint8_t>(checker.Pixel(0, 0), checker.Pixel(0, 0) + 3), (std::vector<std::uint8_t>{255, 0, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(checker.Pixel(3, 1), checker.Pixel(3, 1) + 3), (std::vector<std::uint8_t>{0, 0, 255}));

  // Without its picture the cube still converts: a warning, and one white texture for both.
  std::remove((sourceFolder.Path() + "/checker.bmp").c_str());
  const ProcessResult bare =
      RunProcess(ProgramPath("dddconvert"), {"cube.obj", "--scene", "out/bare.ddw"}, {}, 120, sourceFolder.Path());
  ASSERT_EQ(bare.exitCode, 0) << bare.output;
  EXPECT_NE(bare.output.find("warning: cannot find the picture \"checker.bmp\"; its models get a white texture"),
            std::string::npos)
      << bare.output;
  ASSERT_TRUE(LoadObjectSlot(scene->objects, 4, (sourceFolder.Path() + "/out/bare.ddw").c_str(), kNoColourKey));
  EXPECT_EQ(scene->objects.slots[4].textures.size(), 1u);
  EXPECT_EQ(scene->objects.slots[4].objects.size(), 2u);
}
