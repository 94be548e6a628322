#pragma once
// The scene file: a settings file whose first four bytes are ";DDW", naming textures and
// model files relative to its own folder:
//   [textures] count=N, 1=path ... N=path
//   [objects]  count=M, 1=path ... M=path, and per model n the keys "<n>ta" and "<n>tb":
//              its first and second texture, 1-based (0, negative or missing: the first)
// This part reads the description from the text and knows nothing of files or GL.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kSceneFileTag[] = ";DDW";
// At most this many textures and models are read from one scene (as many as the
// texture store has slots).
inline constexpr int kMaxSceneEntries = 65536;

struct SceneModelEntry {
  std::string path;  // as listed; empty when the key is missing
  std::int32_t textureA = 0;  // index into the slot's texture list
  std::int32_t textureB = 0;
};

struct SceneDescription {
  std::vector<std::string> texturePaths;  // texture n at n - 1; empty where missing
  std::vector<SceneModelEntry> models;
};

// Reads the description from the scene file's text. A count above the largest numbered
// key present is cut to it (the entries past it could only be empty), and to
// kMaxSceneEntries.
SceneDescription ParseSceneDescription(std::string_view text);

// The folder of path: everything up to and including its last '/' or '\'.
std::string SceneFolder(const std::string& path);
