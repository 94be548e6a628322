#include "assimp_reader.h"

#include <sys/stat.h>

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

namespace {

// Frame counts of the keyframe formats sit at fixed places in their headers:
//   MD2: "IDP2", then i32 fields; the frame count at offset 40
//   MD3: "IDP3", i32 version, 64-byte name, i32 flags, then the frame count at offset 76
struct KeyframeFormat {
  const char* magic;
  std::size_t frameCountOffset;
  const char* property;
};
constexpr KeyframeFormat kKeyframeFormats[] = {
    {"IDP2", 40, AI_CONFIG_IMPORT_MD2_KEYFRAME},
    {"IDP3", 76, AI_CONFIG_IMPORT_MD3_KEYFRAME},
};
// More frames than any of these formats allows (MD2 stops at 512, MD3 at 1024).
constexpr int kMaxKeyframes = 1024;

constexpr unsigned kImportSteps = aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_SortByPType |
                                  aiProcess_ValidateDataStructure;

Mat4 ToMat4(const aiMatrix4x4& m) {
  Mat4 result;
  const float rows[4][4] = {{m.a1, m.a2, m.a3, m.a4}, {m.b1, m.b2, m.b3, m.b4}, {m.c1, m.c2, m.c3, m.c4}, {m.d1, m.d2, m.d3, m.d4}};
  std::memcpy(result.m, rows, sizeof rows);
  return result;
}

Vec3 ToVec3(const aiVector3D& v) { return {v.x, v.y, v.z}; }

std::uint32_t ToColour(float red, float green, float blue) {
  const auto channel = [](float value) {
    const float clamped = value > 1 ? 1 : (value > 0 ? value : 0);  // NaN becomes 0
    return static_cast<std::uint32_t>(clamped * 255.0f + 0.5f);
  };
  return channel(red) | channel(green) << 8 | channel(blue) << 16;
}

void AddNodes(const aiNode* node, int parent, SourceScene& scene, std::map<std::string, int>& nodeByName) {
  const int index = static_cast<int>(scene.nodes.size());
  SourceNode& added = scene.nodes.emplace_back();
  added.name = node->mName.C_Str();
  added.parent = parent;
  added.transform = ToMat4(node->mTransformation);
  for (unsigned m = 0; m < node->mNumMeshes; ++m) added.meshes.push_back(static_cast<int>(node->mMeshes[m]));
  nodeByName.try_emplace(added.name, index);
  for (unsigned c = 0; c < node->mNumChildren; ++c) AddNodes(node->mChildren[c], index, scene, nodeByName);
}

SourceMesh ConvertMesh(const aiMesh& source, const std::map<std::string, int>& nodeByName) {
  SourceMesh mesh;
  mesh.name = source.mName.C_Str();
  mesh.material = static_cast<int>(source.mMaterialIndex);
  const unsigned count = source.mNumVertices;
  for (unsigned v = 0; v < count; ++v) {
    mesh.positions.push_back(ToVec3(source.mVertices[v]));
    mesh.normals.push_back(source.mNormals ? ToVec3(source.mNormals[v]) : Vec3{});
    if (source.mTextureCoords[0]) mesh.texCoords.push_back({source.mTextureCoords[0][v].x, source.mTextureCoords[0][v].y});
    if (source.mColors[0]) {
      const aiColor4D& c = source.mColors[0][v];
      mesh.colours.push_back(ToColour(c.r, c.g, c.b));
    }
  }
  for (unsigned f = 0; f < source.mNumFaces; ++f) {
    const aiFace& face = source.mFaces[f];
    if (face.mNumIndices != 3) continue;
    mesh.indices.insert(mesh.indices.end(), face.mIndices, face.mIndices + 3);
  }
  for (unsigned t = 0; t < source.mNumAnimMeshes; ++t) {
    const aiAnimMesh& target = *source.mAnimMeshes[t];
    MorphTarget& morph = mesh.morphTargets.emplace_back();
    morph.weight = target.mWeight;
    for (unsigned v = 0; v < count; ++v) {
      const bool has = v < target.mNumVertices;
      morph.positions.push_back(has && target.mVertices ? ToVec3(target.mVertices[v]) : mesh.positions[v]);
      if (has && target.mNormals) morph.normals.push_back(ToVec3(target.mNormals[v]));
    }
    if (morph.normals.size() != count) morph.normals.clear();
  }
  for (unsigned b = 0; b < source.mNumBones; ++b) {
    const aiBone& from = *source.mBones[b];
    SourceBone& bone = mesh.bones.emplace_back();
    const auto node = nodeByName.find(from.mName.C_Str());
    bone.node = node == nodeByName.end() ? -1 : node->second;
    bone.offset = ToMat4(from.mOffsetMatrix);
    for (unsigned w = 0; w < from.mNumWeights; ++w) {
      bone.weights.push_back({from.mWeights[w].mVertexId, from.mWeights[w].mWeight});
    }
  }
  return mesh;
}

SourceMaterial ConvertMaterial(const aiMaterial& source) {
  SourceMaterial material;
  aiColor4D colour;
  if (source.Get(AI_MATKEY_BASE_COLOR, colour) == aiReturn_SUCCESS ||
      source.Get(AI_MATKEY_COLOR_DIFFUSE, colour) == aiReturn_SUCCESS) {
    material.colour = ToColour(colour.r, colour.g, colour.b);
  }
  aiString texture;
  if (source.GetTexture(aiTextureType_DIFFUSE, 0, &texture) == aiReturn_SUCCESS ||
      source.GetTexture(aiTextureType_BASE_COLOR, 0, &texture) == aiReturn_SUCCESS) {
    material.texture = texture.C_Str();
  }
  return material;
}

SourceAnimation ConvertAnimation(const aiAnimation& source, const aiScene& file, const SourceScene& scene,
                                 const std::map<std::string, int>& nodeByName) {
  SourceAnimation animation;
  animation.name = source.mName.C_Str();
  const double ticks = source.mTicksPerSecond > 0 ? source.mTicksPerSecond : 25.0;
  animation.duration = source.mDuration > 0 ? source.mDuration / ticks : 0;
  for (unsigned c = 0; c < source.mNumChannels; ++c) {
    const aiNodeAnim& from = *source.mChannels[c];
    const auto node = nodeByName.find(from.mNodeName.C_Str());
    if (node == nodeByName.end()) continue;
    NodeChannel& channel = animation.nodeChannels.emplace_back();
    channel.node = node->second;
    for (unsigned k = 0; k < from.mNumPositionKeys; ++k) {
      channel.positions.push_back({from.mPositionKeys[k].mTime / ticks, ToVec3(from.mPositionKeys[k].mValue)});
    }
    for (unsigned k = 0; k < from.mNumRotationKeys; ++k) {
      const aiQuaternion& q = from.mRotationKeys[k].mValue;
      channel.rotations.push_back({from.mRotationKeys[k].mTime / ticks, Quat{q.w, q.x, q.y, q.z}});
    }
    for (unsigned k = 0; k < from.mNumScalingKeys; ++k) {
      channel.scalings.push_back({from.mScalingKeys[k].mTime / ticks, ToVec3(from.mScalingKeys[k].mValue)});
    }
  }
  // A morph channel names a mesh, or the node that holds the meshes it moves.
  for (unsigned c = 0; c < source.mNumMorphMeshChannels; ++c) {
    const aiMeshMorphAnim& from = *source.mMorphMeshChannels[c];
    const std::string name = from.mName.C_Str();
    std::vector<int> meshes;
    for (unsigned m = 0; m < file.mNumMeshes; ++m) {
      if (name == file.mMeshes[m]->mName.C_Str()) meshes.push_back(static_cast<int>(m));
    }
    const auto node = nodeByName.find(name);
    if (meshes.empty() && node != nodeByName.end()) meshes = scene.nodes[node->second].meshes;
    for (const int mesh : meshes) {
      if (mesh < 0 || static_cast<std::size_t>(mesh) >= scene.meshes.size()) continue;
      MorphChannel& channel = animation.morphChannels.emplace_back();
      channel.mesh = mesh;
      for (unsigned k = 0; k < from.mNumKeys; ++k) {
        const aiMeshMorphKey& key = from.mKeys[k];
        std::vector<float> weights(scene.meshes[mesh].morphTargets.size());
        for (unsigned i = 0; i < key.mNumValuesAndWeights; ++i) {
          if (key.mValues[i] < weights.size()) weights[key.mValues[i]] = static_cast<float>(key.mWeights[i]);
        }
        channel.weights.push_back({key.mTime / ticks, std::move(weights)});
      }
    }
  }
  return animation;
}

void ConvertScene(const aiScene& file, SourceScene& scene) {
  std::map<std::string, int> nodeByName;
  if (file.mRootNode) AddNodes(file.mRootNode, -1, scene, nodeByName);
  for (unsigned m = 0; m < file.mNumMeshes; ++m) scene.meshes.push_back(ConvertMesh(*file.mMeshes[m], nodeByName));
  for (unsigned m = 0; m < file.mNumMaterials; ++m) scene.materials.push_back(ConvertMaterial(*file.mMaterials[m]));
  for (unsigned a = 0; a < file.mNumAnimations; ++a) {
    scene.animations.push_back(ConvertAnimation(*file.mAnimations[a], file, scene, nodeByName));
  }
  for (unsigned t = 0; t < file.mNumTextures; ++t) {
    const aiTexture& texture = *file.mTextures[t];
    std::vector<std::uint8_t>& bytes = scene.embeddedPictures.emplace_back();
    // Only pictures kept in their file form (height 0, width = byte count) are taken.
    if (texture.mHeight == 0) {
      const auto* data = reinterpret_cast<const std::uint8_t*>(texture.pcData);
      bytes.assign(data, data + texture.mWidth);
    }
  }
}

// The stored frame count of a keyframe file, or 0 when the file is of another kind.
int KeyframeCount(const std::string& path, const char*& property) {
  std::ifstream file(path, std::ios::binary);
  char header[80] = {};
  file.read(header, sizeof header);
  for (const KeyframeFormat& format : kKeyframeFormats) {
    if (file.gcount() < static_cast<std::streamsize>(format.frameCountOffset + 4) ||
        std::memcmp(header, format.magic, 4) != 0) {
      continue;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(header + format.frameCountOffset);
    const std::int32_t frames = static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
    property = format.property;
    return std::clamp<std::int32_t>(frames, 0, kMaxKeyframes);
  }
  return 0;
}

bool HasTriangles(const SourceScene& scene) {
  return std::any_of(scene.meshes.begin(), scene.meshes.end(), [](const SourceMesh& m) { return !m.indices.empty(); });
}

// Reads frames 1.. of a keyframe file and gives every mesh one morph target per frame.
bool ReadKeyframes(const std::string& path, const char* property, int frames, SourceScene& scene, std::string& error) {
  for (SourceMesh& mesh : scene.meshes) mesh.morphTargets.assign(1, MorphTarget{mesh.positions, mesh.normals, 0});
  for (int frame = 1; frame < frames; ++frame) {
    Assimp::Importer importer;
    importer.SetPropertyInteger(property, frame);
    const aiScene* file = importer.ReadFile(path, kImportSteps);
    SourceScene keyframe;
    if (file) ConvertScene(*file, keyframe);
    if (!file || keyframe.meshes.size() != scene.meshes.size()) {
      error = "cannot read frame " + std::to_string(frame) + " of \"" + path + "\"" +
              (file ? "" : std::string(": ") + importer.GetErrorString());
      return false;
    }
    for (std::size_t m = 0; m < scene.meshes.size(); ++m) {
      SourceMesh& mesh = scene.meshes[m];
      if (keyframe.meshes[m].positions.size() != mesh.positions.size()) {
        error = "frame " + std::to_string(frame) + " of \"" + path + "\" has another vertex count than frame 0";
        return false;
      }
      mesh.morphTargets.push_back({std::move(keyframe.meshes[m].positions), std::move(keyframe.meshes[m].normals), 0});
    }
  }
  scene.keyframeCount = frames;
  return true;
}

}  // namespace

bool ReadSourceFile(const std::string& path, SourceScene& scene, std::string& error) {
  scene = SourceScene();
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    error = "cannot open \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = "cannot open \"" + path + "\": not a regular file";
    return false;
  }
  const char* keyframeProperty = nullptr;
  const int keyframes = KeyframeCount(path, keyframeProperty);
  Assimp::Importer importer;
  if (keyframeProperty) importer.SetPropertyInteger(keyframeProperty, 0);
  const aiScene* file = importer.ReadFile(path, kImportSteps);
  if (!file) {
    error = "cannot read \"" + path + "\": " + importer.GetErrorString();
    return false;
  }
  ConvertScene(*file, scene);
  if (!HasTriangles(scene)) {
    error = "no meshes with triangles in \"" + path + "\"";
    return false;
  }
  if (keyframes > 1) return ReadKeyframes(path, keyframeProperty, keyframes, scene, error);
  return true;
}
