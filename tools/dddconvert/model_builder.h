#pragma once
// Building the engine's mesh object from posed frames of a source scene: the triangles
// of the chosen mesh instances merged into one triangle list, turned upright and scaled,
// with texture coordinates made ready for the engine's top-row-first textures, colours
// fitted into the colour table, and every frame packed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx3d/mesh_object.h"
#include "scene_pose.h"

struct AxisOptions {
  float scale = 1;
  bool zUp = false;   // the source's up axis is z: turn it to the engine's y
  bool flipV = false; // the source's v runs downwards already
};

struct BuildSummary {
  std::size_t triangles = 0;
  std::size_t frames = 0;
  std::size_t colours = 0;         // entries of the colour table other than the marker
  std::size_t sourceColours = 0;   // distinct colours before any reduction
};

// The largest number of slots one frame of a model file can hold.
inline constexpr std::size_t kMaxModelSlots = 0x7FFFFFFF;
// Colours in one model's table; one entry more is the list marker that starts the
// triangles.
inline constexpr std::size_t kMaxModelColours = 255;

// Fills object (cleared first) with frames[f][i] = instance i posed in frame f. Returns
// false with a message when nothing is left to draw or the model is too large.
bool BuildModel(const SourceScene& scene, const std::vector<MeshInstance>& instances,
                const std::vector<std::vector<PosedMesh>>& frames, const AxisOptions& axes, MeshObject& object,
                BuildSummary& summary, std::string& error);

// Cuts low bits from every channel of colours until at most limit distinct values remain,
// rounding each channel to the middle of its step; returns the bits kept per channel.
int ReduceColours(std::vector<std::uint32_t>& colours, std::size_t limit);
