#pragma once
// The text model file: the keyword "DDDA", then numbers separated by blanks, tabs and
// line ends, with '#' comments:
//   version (1.0: positions only; 1.1: positions and normals; above 1.1 refused)
//   texCoordCount, then that many pairs u v
//   polygonCount, then per polygon: red green blue cornerCount, then per corner
//     vertexIndex texCoordIndex
//   frameCount, then per frame: vertexCount, then per vertex x y z (and nx ny nz)
// Every frame shares the polygons. A number that the file lacks because it ends early
// reads as 0. The reader works on the bytes of a whole file.

#include <cstdint>
#include <span>
#include <vector>

#include "gfx3d/mesh_object.h"

inline constexpr std::size_t kModelTokenLimit = 1023;    // longer tokens are cut
inline constexpr std::size_t kModelCommentLookahead = 512;  // a comment skips at most this

struct TextPolygon {
  std::uint32_t colour = 0;     // 0x00BBGGRR from the low bytes of red, green, blue
  std::size_t firstCorner = 0;  // into TextModel::corners
  std::size_t cornerCount = 0;
};

struct TextCorner {
  std::int64_t vertexIndex = 0;    // -1 when the number is no index at all
  std::int64_t texCoordIndex = 0;
};

struct TextFrame {
  // As announced. Vertices the file ends before are not stored; they read as zeros.
  std::uint64_t vertexCount = 0;
  std::vector<float> values;  // x y z nx ny nz per stored vertex
};

struct TextModel {
  bool hasNormals = false;
  std::uint64_t texCoordCount = 0;  // as announced; pairs past the end read as zeros
  std::vector<float> texCoords;     // u v per stored pair
  std::vector<TextPolygon> polygons;
  std::vector<TextCorner> corners;
  std::vector<TextFrame> frames;  // frames the file ends before are not created
};

// Parses file into model (emptied first). False when the first token is not "DDDA" or
// the version is above 1.1.
bool LoadTextModel(std::span<const std::uint8_t> file, TextModel& model);

// Every frame of a text model repeats all polygons, so a small file can describe a huge
// object. More packed slots than this over all frames are refused as out of memory.
inline constexpr std::uint64_t kMaxModelSlots = std::uint64_t{1} << 26;

enum class TextExpandStatus {
  kExpanded,
  kBadIndex,  // a corner names a vertex outside its frame or a pair outside the list
  kTooLarge,  // more than kMaxModelSlots slots
};

// Fills object (which the caller has cleared) with the model: per frame and polygon one
// fan marker and the polygon's corners, each frame packed in turn.
TextExpandStatus ExpandTextModel(const TextModel& model, MeshObject& object);
