#pragma once
// Converting a source scene into the engine's files: one binary model of every mesh
// merged, or a scene file with one model per mesh and the textures its materials name.

#include <string>
#include <vector>

#include "model_builder.h"
#include "source_scene.h"

// More frames than any game animates; a long animation at a high rate would otherwise
// fill the memory.
inline constexpr std::size_t kMaxModelFrames = 10000;

struct ConvertOptions {
  AxisOptions axes;
  double fps = 10;             // frames per second at which animations are baked
  std::string animation;       // name or 0-based number; empty: the first
  bool restPose = false;       // ignore animations
  int firstFrame = 0;          // of the frames the animation (or the file's keyframes) gives
  int lastFrame = -1;          // -1: the last one
};

// What one written file holds, for the summary line.
struct OutputSummary {
  std::string path;
  BuildSummary model;  // triangles, frames and colours (zero for a scene file)
  long long bytes = 0;
};

// The moments of the frames to bake: the file's stored frames, the chosen animation
// sampled at the options' rate, or the rest pose. False with a message when the
// animation or the frame range does not exist.
bool ChooseFrames(const SourceScene& scene, const ConvertOptions& options, std::vector<FrameMoment>& moments,
                  std::string& error);

// Writes every mesh instance merged into one binary model at outputPath.
bool ConvertToModel(const SourceScene& scene, const ConvertOptions& options, const std::string& outputPath,
                    std::vector<OutputSummary>& written, std::string& error);

// Writes a scene file at outputPath with beside it "<name>_<n>.ddd" per mesh instance and
// "<name>_<n>.png" per texture (sourceFolder is where the source file's pictures are).
// A picture that cannot be found or read becomes a warning, and its models get a white
// texture.
bool ConvertToScene(const SourceScene& scene, const ConvertOptions& options, const std::string& sourceFolder,
                    const std::string& outputPath, std::vector<OutputSummary>& written,
                    std::vector<std::string>& warnings, std::string& error);

// "<path>: <triangles> triangles, <frames> frames, <colours> colours, <bytes> bytes"
std::string SummaryLine(const OutputSummary& summary);
