#include "scene_pose.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The index of the last key at or before seconds (0 when none is) and the fraction of
// the way to the next key.
template <typename T>
std::size_t KeySpan(const std::vector<AnimationKey<T>>& keys, double seconds, float& fraction) {
  fraction = 0;
  const auto after = std::upper_bound(keys.begin(), keys.end(), seconds,
                                      [](double t, const AnimationKey<T>& key) { return t < key.time; });
  if (after == keys.begin()) return 0;
  const std::size_t index = static_cast<std::size_t>(after - keys.begin()) - 1;
  if (index + 1 < keys.size()) {
    const double span = keys[index + 1].time - keys[index].time;
    if (span > 0) fraction = static_cast<float>((seconds - keys[index].time) / span);
  }
  return index;
}

Vec3 Lerp(Vec3 a, Vec3 b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t}; }

Quat Slerp(Quat a, Quat b, float t) {
  float cosine = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  if (cosine < 0) {  // the shorter way round
    cosine = -cosine;
    b = {-b.w, -b.x, -b.y, -b.z};
  }
  float wa = 1 - t, wb = t;
  if (cosine < 0.9995f) {
    const float angle = std::acos(cosine);
    const float sine = std::sin(angle);
    wa = std::sin((1 - t) * angle) / sine;
    wb = std::sin(t * angle) / sine;
  }
  return {wa * a.w + wb * b.w, wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
}

// Splits a node's own transform into translation and scaling (for channels that animate
// only the rotation, say); the rotation is taken from the scaled columns.
void SplitTransform(const Mat4& matrix, Vec3& translation, Quat& rotation, Vec3& scaling) {
  const auto& m = matrix.m;
  translation = {m[0][3], m[1][3], m[2][3]};
  float s[3];
  for (int c = 0; c < 3; ++c) s[c] = std::sqrt(m[0][c] * m[0][c] + m[1][c] * m[1][c] + m[2][c] * m[2][c]);
  scaling = {s[0], s[1], s[2]};
  float r[3][3];
  for (int row = 0; row < 3; ++row) {
    for (int c = 0; c < 3; ++c) r[row][c] = s[c] > 0 ? m[row][c] / s[c] : 0;
  }
  const float trace = r[0][0] + r[1][1] + r[2][2];
  if (trace > 0) {
    const float k = 0.5f / std::sqrt(trace + 1);
    rotation = {0.25f / k, (r[2][1] - r[1][2]) * k, (r[0][2] - r[2][0]) * k, (r[1][0] - r[0][1]) * k};
  } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
    const float k = 2 * std::sqrt(1 + r[0][0] - r[1][1] - r[2][2]);
    rotation = {(r[2][1] - r[1][2]) / k, 0.25f * k, (r[0][1] + r[1][0]) / k, (r[0][2] + r[2][0]) / k};
  } else if (r[1][1] > r[2][2]) {
    const float k = 2 * std::sqrt(1 + r[1][1] - r[0][0] - r[2][2]);
    rotation = {(r[0][2] - r[2][0]) / k, (r[0][1] + r[1][0]) / k, 0.25f * k, (r[1][2] + r[2][1]) / k};
  } else {
    const float k = 2 * std::sqrt(1 + r[2][2] - r[0][0] - r[1][1]);
    rotation = {(r[1][0] - r[0][1]) / k, (r[0][2] + r[2][0]) / k, (r[1][2] + r[2][1]) / k, 0.25f * k};
  }
}

std::vector<Mat4> GlobalTransforms(const SourceScene& scene, const SourceAnimation* animation, double seconds) {
  std::vector<Mat4> local(scene.nodes.size());
  for (std::size_t n = 0; n < scene.nodes.size(); ++n) local[n] = scene.nodes[n].transform;
  if (animation) {
    for (const NodeChannel& channel : animation->nodeChannels) {
      if (channel.node < 0 || static_cast<std::size_t>(channel.node) >= local.size()) continue;
      Vec3 translation, scaling;
      Quat rotation;
      SplitTransform(scene.nodes[channel.node].transform, translation, rotation, scaling);
      local[channel.node] = ComposeTransform(SampleKeys(channel.positions, seconds, translation),
                                             SampleKeys(channel.rotations, seconds, rotation),
                                             SampleKeys(channel.scalings, seconds, scaling));
    }
  }
  std::vector<Mat4> global(local.size());
  for (std::size_t n = 0; n < local.size(); ++n) {
    const int parent = scene.nodes[n].parent;
    global[n] = parent >= 0 && static_cast<std::size_t>(parent) < n ? global[parent] * local[n] : local[n];
  }
  return global;
}

std::vector<float> MorphWeights(const SourceScene& scene, int mesh, const FrameMoment& moment) {
  const SourceMesh& source = scene.meshes[mesh];
  std::vector<float> weights(source.morphTargets.size());
  if (moment.keyframe >= 0) {
    if (static_cast<std::size_t>(moment.keyframe) < weights.size()) weights[moment.keyframe] = 1;
    return weights;
  }
  for (std::size_t t = 0; t < weights.size(); ++t) weights[t] = source.morphTargets[t].weight;
  if (!moment.animation) return weights;
  for (const MorphChannel& channel : moment.animation->morphChannels) {
    if (channel.mesh != mesh || channel.weights.empty()) continue;
    float fraction;
    const std::size_t index = KeySpan(channel.weights, moment.seconds, fraction);
    const std::vector<float>& a = channel.weights[index].value;
    const std::vector<float>& b = channel.weights[std::min(index + 1, channel.weights.size() - 1)].value;
    for (std::size_t t = 0; t < weights.size(); ++t) {
      const float wa = t < a.size() ? a[t] : 0, wb = t < b.size() ? b[t] : 0;
      weights[t] = wa + (wb - wa) * fraction;
    }
  }
  return weights;
}

PosedMesh PoseMesh(const SourceScene& scene, const MeshInstance& instance, const std::vector<Mat4>& global,
                   const FrameMoment& moment) {
  const SourceMesh& mesh = scene.meshes[instance.mesh];
  PosedMesh posed{mesh.positions, mesh.normals};
  posed.normals.resize(posed.positions.size());
  const std::vector<float> weights = MorphWeights(scene, instance.mesh, moment);
  for (std::size_t t = 0; t < weights.size(); ++t) {
    const MorphTarget& target = mesh.morphTargets[t];
    if (weights[t] == 0) continue;
    for (std::size_t v = 0; v < posed.positions.size() && v < target.positions.size(); ++v) {
      const Vec3 delta{target.positions[v].x - mesh.positions[v].x, target.positions[v].y - mesh.positions[v].y,
                       target.positions[v].z - mesh.positions[v].z};
      posed.positions[v] = {posed.positions[v].x + weights[t] * delta.x, posed.positions[v].y + weights[t] * delta.y,
                            posed.positions[v].z + weights[t] * delta.z};
      if (v < target.normals.size() && v < mesh.normals.size()) {
        const Vec3 change{target.normals[v].x - mesh.normals[v].x, target.normals[v].y - mesh.normals[v].y,
                          target.normals[v].z - mesh.normals[v].z};
        posed.normals[v] = {posed.normals[v].x + weights[t] * change.x, posed.normals[v].y + weights[t] * change.y,
                            posed.normals[v].z + weights[t] * change.z};
      }
    }
  }

  const Mat4& placement = global[instance.node];
  if (mesh.bones.empty()) {
    for (std::size_t v = 0; v < posed.positions.size(); ++v) {
      posed.positions[v] = TransformPoint(placement, posed.positions[v]);
      posed.normals[v] = Normalised(TransformNormal(placement, posed.normals[v]));
    }
    return posed;
  }
  // Skinned: each vertex is the weighted sum of its bones' placements; the mesh node's own
  // transform applies only to vertices no bone holds.
  std::vector<Vec3> positions(posed.positions.size()), normals(posed.positions.size());
  std::vector<float> total(posed.positions.size(), 0.0f);
  for (const SourceBone& bone : mesh.bones) {
    if (bone.node < 0 || static_cast<std::size_t>(bone.node) >= global.size()) continue;
    const Mat4 skin = global[bone.node] * bone.offset;
    for (const BoneWeight& weight : bone.weights) {
      if (weight.vertex >= positions.size() || weight.weight == 0) continue;
      const Vec3 p = TransformPoint(skin, posed.positions[weight.vertex]);
      const Vec3 n = TransformNormal(skin, posed.normals[weight.vertex]);
      Vec3& sum = positions[weight.vertex];
      Vec3& normal = normals[weight.vertex];
      sum = {sum.x + weight.weight * p.x, sum.y + weight.weight * p.y, sum.z + weight.weight * p.z};
      normal = {normal.x + weight.weight * n.x, normal.y + weight.weight * n.y, normal.z + weight.weight * n.z};
      total[weight.vertex] += weight.weight;
    }
  }
  for (std::size_t v = 0; v < positions.size(); ++v) {
    if (total[v] > 0) {
      const float k = 1 / total[v];
      posed.positions[v] = {positions[v].x * k, positions[v].y * k, positions[v].z * k};
      posed.normals[v] = Normalised(normals[v]);
    } else {
      posed.positions[v] = TransformPoint(placement, posed.positions[v]);
      posed.normals[v] = Normalised(TransformNormal(placement, posed.normals[v]));
    }
  }
  return posed;
}

}  // namespace

Vec3 SampleKeys(const std::vector<AnimationKey<Vec3>>& keys, double seconds, Vec3 fallback) {
  if (keys.empty()) return fallback;
  float fraction;
  const std::size_t index = KeySpan(keys, seconds, fraction);
  return Lerp(keys[index].value, keys[std::min(index + 1, keys.size() - 1)].value, fraction);
}

Quat SampleKeys(const std::vector<AnimationKey<Quat>>& keys, double seconds, Quat fallback) {
  if (keys.empty()) return fallback;
  float fraction;
  const std::size_t index = KeySpan(keys, seconds, fraction);
  return Slerp(keys[index].value, keys[std::min(index + 1, keys.size() - 1)].value, fraction);
}

std::vector<MeshInstance> MeshInstances(const SourceScene& scene) {
  std::vector<MeshInstance> instances;
  for (std::size_t n = 0; n < scene.nodes.size(); ++n) {
    for (const int mesh : scene.nodes[n].meshes) {
      if (mesh >= 0 && static_cast<std::size_t>(mesh) < scene.meshes.size()) {
        instances.push_back({static_cast<int>(n), mesh});
      }
    }
  }
  return instances;
}

std::vector<PosedMesh> PoseScene(const SourceScene& scene, const std::vector<MeshInstance>& instances,
                                 const FrameMoment& moment) {
  const std::vector<Mat4> global = GlobalTransforms(scene, moment.animation, moment.seconds);
  std::vector<PosedMesh> posed;
  posed.reserve(instances.size());
  for (const MeshInstance& instance : instances) posed.push_back(PoseMesh(scene, instance, global, moment));
  return posed;
}

int AnimationFrameCount(double duration, double fps) {
  if (!(duration > 0) || !(fps > 0)) return 1;
  // A hair of tolerance so that 1 s at 10 fps gives 11 frames despite rounding.
  const double frames = std::floor(duration * fps + 1e-6) + 1;
  return frames > 1e6 ? 1000000 : static_cast<int>(frames);
}

int FindAnimation(const SourceScene& scene, const std::string& choice) {
  if (scene.animations.empty()) return -1;
  if (choice.empty()) return 0;
  for (std::size_t a = 0; a < scene.animations.size(); ++a) {
    if (scene.animations[a].name == choice) return static_cast<int>(a);
  }
  char* end = nullptr;
  const long index = std::strtol(choice.c_str(), &end, 10);
  if (end && *end == '\0' && end != choice.c_str() && index >= 0 &&
      static_cast<std::size_t>(index) < scene.animations.size()) {
    return static_cast<int>(index);
  }
  return -1;
}
