#pragma once
// A 3D scene as the converter holds it, whatever file it came from: a node tree with
// transforms, triangle meshes (with morph targets and bones), materials and animations.
// The file reader fills it; posing and model building work on it alone, so they can be
// tested without files.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
struct Quat {
  float w = 1, x = 0, y = 0, z = 0;
};
// Row-major: m[row][column]; a point p becomes M * p (translation in the last column).
struct Mat4 {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

Mat4 operator*(const Mat4& a, const Mat4& b);
Vec3 TransformPoint(const Mat4& matrix, Vec3 point);
// Transforms a normal by the inverse transpose of the matrix's linear part (not
// normalised), so scaled and mirrored nodes keep their normals perpendicular and outward.
Vec3 TransformNormal(const Mat4& matrix, Vec3 normal);
Mat4 ComposeTransform(Vec3 translation, Quat rotation, Vec3 scaling);
Vec3 Normalised(Vec3 v);

struct SourceMaterial {
  std::uint32_t colour = 0x00FFFFFF;  // diffuse colour, 0x00BBGGRR
  std::string texture;                // diffuse texture as the file names it; empty for none
};

struct BoneWeight {
  std::uint32_t vertex = 0;
  float weight = 0;
};
struct SourceBone {
  int node = -1;  // the node whose global transform moves the bone
  Mat4 offset;    // from mesh space to the bone's rest space
  std::vector<BoneWeight> weights;
};

// A morph target holds absolute positions and normals for every vertex of its mesh.
struct MorphTarget {
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;  // empty: the mesh's own normals
  float weight = 0;           // when no animation sets it
};

struct SourceMesh {
  std::string name;
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
  std::vector<std::array<float, 2>> texCoords;  // channel 0; empty for none
  std::vector<std::uint32_t> colours;           // per vertex 0x00BBGGRR; empty: the material's
  std::vector<std::uint32_t> indices;           // three per triangle
  int material = -1;
  std::vector<MorphTarget> morphTargets;
  std::vector<SourceBone> bones;
};

struct SourceNode {
  std::string name;
  int parent = -1;  // always before the node itself in the node list
  Mat4 transform;   // relative to the parent
  std::vector<int> meshes;
};

template <typename T>
struct AnimationKey {
  double time = 0;  // seconds
  T value{};
};

// Replaces a node's transform while an animation plays; an empty key list keeps that
// part of the node's own transform.
struct NodeChannel {
  int node = -1;
  std::vector<AnimationKey<Vec3>> positions;
  std::vector<AnimationKey<Quat>> rotations;
  std::vector<AnimationKey<Vec3>> scalings;
};

// Morph weights of one mesh over time, one weight per morph target.
struct MorphChannel {
  int mesh = -1;
  std::vector<AnimationKey<std::vector<float>>> weights;
};

struct SourceAnimation {
  std::string name;
  double duration = 0;  // seconds
  std::vector<NodeChannel> nodeChannels;
  std::vector<MorphChannel> morphChannels;
};

struct SourceScene {
  std::vector<SourceNode> nodes;  // nodes[0] is the root
  std::vector<SourceMesh> meshes;
  std::vector<SourceMaterial> materials;
  std::vector<SourceAnimation> animations;
  // Pictures held inside the file (as their file bytes), named "*0", "*1", ... by materials.
  std::vector<std::vector<std::uint8_t>> embeddedPictures;
  // Formats that store whole frames (vertex keyframes) give each mesh one morph target per
  // frame; keyframeCount says how many, 0 for other formats.
  int keyframeCount = 0;
};
