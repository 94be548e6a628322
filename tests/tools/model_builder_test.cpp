// Posing, merging and packing source scenes built in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model_builder.h"
#include "model_convert.h"
#include "scene_pose.h"

namespace {

Mat4 Translation(float x, float y, float z) { return ComposeTransform({x, y, z}, {}, {1, 1, 1}); }

// One triangle (0,0,0), (1,0,0), (0,0,1) with texture coordinates (0,0), (1,0), (0,1),
// placed by nodes 1.. (children of the root) at the given transforms.
SourceScene TriangleScene(const std::vector<Mat4>& placements) {
  SourceScene scene;
  scene.nodes.push_back({"root", -1, {}, {}});
  for (const Mat4& placement : placements) scene.nodes.push_back({"place", 0, placement, {0}});
  SourceMesh& mesh = scene.meshes.emplace_back();
  mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
  mesh.normals = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
  mesh.texCoords = {{0, 0}, {1, 0}, {0, 1}};
  mesh.indices = {0, 1, 2};
  return scene;
}

std::vector<MeshVertex> BuildTriangles(const SourceScene& scene, const AxisOptions& axes) {
  const std::vector<MeshInstance> instances = MeshInstances(scene);
  MeshObjectX object;
  BuildSummary summary;
  std::string error;
  EXPECT_TRUE(BuildModel(scene, instances, {PoseScene(scene, instances, {})}, axes, object, summary, error)) << error;
  object.BuildTriangles();
  return object.frames.empty() ? std::vector<MeshVertex>{} : object.frames[0].triangleVertices;
}

void ExpectPoint(const float* actual, Vec3 expected, float tolerance, const char* what) {
  EXPECT_NEAR(actual[0], expected.x, tolerance) << what;
  EXPECT_NEAR(actual[1], expected.y, tolerance) << what;
  EXPECT_NEAR(actual[2], expected.z, tolerance) << what;
}

}  // namespace

TEST(ModelBuilder, MergesEveryPlacedMeshTurnedUprightAndScaled) {
  const SourceScene scene = TriangleScene({Translation(0, 0, 0), Translation(2, 0, 0)});
  const std::vector<MeshVertex> merged = BuildTriangles(scene, {});
  ASSERT_EQ(merged.size(), 6u);
  ExpectPoint(merged[4].position, {3, 0, 0}, 1e-5f, "the second copy is moved by its node");
  // z up: the file's (0, 0, 1) stands on the engine's y axis; scale 2 doubles it.
  const std::vector<MeshVertex> upright = BuildTriangles(scene, {2, true, false});
  ExpectPoint(upright[2].position, {0, 2, 0}, 1e-5f, "upright corner");
  ExpectPoint(upright[2].normal, {0, 0, -1}, 0.05f, "upright normal");
}

TEST(ModelBuilder, TexturesAreSampledTopRowFirstUnlessFlipped) {
  // The engine reads pictures top row first and negates the stored v: a source v of 0
  // (the picture's bottom) must sample the engine's 1, and v = 1 the top row, 0.
  const SourceScene scene = TriangleScene({Mat4()});
  const std::vector<MeshVertex> corners = BuildTriangles(scene, {});
  const std::vector<MeshVertex> flipped = BuildTriangles(scene, {1, false, true});
  const float want[3] = {1, 1, 0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_FLOAT_EQ(corners[i].texCoord[1], want[i]) << i;
    EXPECT_FLOAT_EQ(flipped[i].texCoord[1], 1 - want[i]) << i;
  }
}

TEST(ModelBuilder, ManyColoursAreReducedToFitTheColourTable) {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t c = 0; c < 4096; ++c) colours.push_back((c & 15) * 17 | ((c >> 4) & 15) * 17 << 8 | (c >> 8) * 17 << 16);
  std::vector<std::uint32_t> reduced = colours;
  const int bits = ReduceColours(reduced, kMaxModelColours);
  EXPECT_LE(std::set<std::uint32_t>(reduced.begin(), reduced.end()).size(), kMaxModelColours);
  const int step = 256 >> bits;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      EXPECT_LE(std::abs(static_cast<int>((colours[i] >> shift) & 255) - static_cast<int>((reduced[i] >> shift) & 255)),
                step / 2)
          << i;
    }
  }
  std::vector<std::uint32_t> few = {1, 2, 3};
  EXPECT_EQ(ReduceColours(few, kMaxModelColours), 8);
  EXPECT_EQ(few, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(ScenePose, RotationKeysTurnChildrenWithTheirParent) {
  // The parent turns 90 degrees about z in one second; its child sits one unit along x.
  SourceScene scene = TriangleScene({});
  scene.nodes.push_back({"arm", 0, {}, {}});
  scene.nodes.push_back({"hand", 1, Translation(1, 0, 0), {0}});
  SourceAnimation& turn = scene.animations.emplace_back();
  turn.duration = 1;
  const float half = std::sqrt(0.5f);
  turn.nodeChannels.push_back({1, {}, {{0, Quat{}}, {1, Quat{half, 0, 0, half}}}, {}});
  const std::vector<MeshInstance> instances = MeshInstances(scene);
  const float diagonal = std::sqrt(0.5f);
  struct Case {
    double seconds;
    Vec3 origin;  // where the mesh's (0, 0, 0) goes
  };
  for (const Case& c : {Case{0, {1, 0, 0}}, Case{0.5, {diagonal, diagonal, 0}}, Case{1, {0, 1, 0}}, Case{5, {0, 1, 0}}}) {
    const std::vector<PosedMesh> posed = PoseScene(scene, instances, {&turn, c.seconds, -1});
    const float p[3] = {posed[0].positions[0].x, posed[0].positions[0].y, posed[0].positions[0].z};
    ExpectPoint(p, c.origin, 1e-5f, std::to_string(c.seconds).c_str());
  }
}

TEST(ConvertFrames, FramesComeFromKeyframesTheAnimationOrTheRestPose) {
  SourceScene scene = TriangleScene({Mat4()});
  scene.keyframeCount = 4;
  std::vector<FrameMoment> moments;
  std::string error;
  ConvertOptions options;
  options.firstFrame = 1;
  options.lastFrame = 2;
  ASSERT_TRUE(ChooseFrames(scene, options, moments, error)) << error;
  ASSERT_EQ(moments.size(), 2u);
  EXPECT_EQ(moments[0].keyframe, 1);
  EXPECT_EQ(moments[1].keyframe, 2);
  scene.keyframeCount = 0;
  scene.animations.push_back({"walk", 0.25, {}, {}});
  options = ConvertOptions();
  options.fps = 8;
  ASSERT_TRUE(ChooseFrames(scene, options, moments, error)) << error;
  ASSERT_EQ(moments.size(), 3u);
  EXPECT_DOUBLE_EQ(moments[2].seconds, 0.25);
  options.restPose = true;
  ASSERT_TRUE(ChooseFrames(scene, options, moments, error)) << error;
  ASSERT_EQ(moments.size(), 1u);
  EXPECT_EQ(moments[0].animation, nullptr);
}
