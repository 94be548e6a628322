#pragma once
// Posing a source scene at one moment: node transforms from the animation's keys, morph
// targets blended by their weights, bones applied, everything in the scene's space.

#include <string>
#include <vector>

#include "source_scene.h"

// One mesh placed by one node; a mesh used by two nodes appears twice.
struct MeshInstance {
  int node = -1;
  int mesh = -1;
};

// Every mesh instance of the tree, in node order.
std::vector<MeshInstance> MeshInstances(const SourceScene& scene);

// The vertex positions and normals of one mesh instance in one frame.
struct PosedMesh {
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
};

// What one frame shows: an animation at a time, a stored keyframe, or the rest pose
// (no animation and keyframe -1).
struct FrameMoment {
  const SourceAnimation* animation = nullptr;
  double seconds = 0;
  int keyframe = -1;
};

std::vector<PosedMesh> PoseScene(const SourceScene& scene, const std::vector<MeshInstance>& instances,
                                 const FrameMoment& moment);

// The moments of frames first..last (inclusive, 0-based) of an animation sampled at fps,
// the last frame falling on the animation's end or before it. Frames beyond the end are
// cut; an animation of duration 0 has one frame.
int AnimationFrameCount(double duration, double fps);

// Picks the animation named, or numbered (0-based), by choice; empty picks the first.
// -1 when no animation fits.
int FindAnimation(const SourceScene& scene, const std::string& choice);

// Values between keys are interpolated linearly (rotations spherically); before the
// first key and after the last the end key holds.
Vec3 SampleKeys(const std::vector<AnimationKey<Vec3>>& keys, double seconds, Vec3 fallback);
Quat SampleKeys(const std::vector<AnimationKey<Quat>>& keys, double seconds, Quat fallback);
