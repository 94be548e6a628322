#pragma once
// The two vertex forms of a mesh object: the full vertex the draw path hands to OpenGL,
// and the packed vertex a model keeps per frame slot.

#include <cstddef>
#include <cstdint>

// Colour values at or above kFirstNonColour are not colours. Three of them start a group
// of triangles (the slot carrying them never draws); the others draw white.
inline constexpr std::uint32_t kListMarker = 0xFFFFFFFF;
inline constexpr std::uint32_t kStripMarker = 0xFFFFFFFE;
inline constexpr std::uint32_t kFanMarker = 0xFFFFFFFD;
inline constexpr std::uint32_t kFirstNonColour = 0xFFFFFFFC;

inline bool IsGroupMarker(std::uint32_t colour) { return colour >= kFanMarker; }
inline bool IsNonColour(std::uint32_t colour) { return colour >= kFirstNonColour; }

// The full vertex. The draw path passes arrays of it to OpenGL with a stride of 88 bytes
// and fixed attribute offsets, so neither order nor widths may change.
struct MeshVertex {
  float position[3];
  float normal[3];
  float texCoord[2];
  float lightVector[3];  // bump mode: tangent-space light direction packed to 0..1
  float tangent[3];
  float bitangent[3];    // cel mode: the first two hold the ramp texture coordinates
  std::uint32_t colour;  // 0x00BBGGRR, or a group marker
  std::int32_t colourIndex;
  float colourRGB[3];    // 0..1 each; 1 each for a non-colour
};

static_assert(sizeof(MeshVertex) == 88);
static_assert(offsetof(MeshVertex, position) == 0);
static_assert(offsetof(MeshVertex, normal) == 12);
static_assert(offsetof(MeshVertex, texCoord) == 24);
static_assert(offsetof(MeshVertex, lightVector) == 32);
static_assert(offsetof(MeshVertex, tangent) == 44);
static_assert(offsetof(MeshVertex, bitangent) == 56);
static_assert(offsetof(MeshVertex, colour) == 68);
static_assert(offsetof(MeshVertex, colourIndex) == 72);
static_assert(offsetof(MeshVertex, colourRGB) == 76);

// One packed frame slot: coordinates in packed units (see MeshFrame), three indices into
// NormalTable and the index of the slot's colour in the object's colour table.
struct PackedVertex {
  std::uint8_t x = 0;
  std::uint8_t y = 0;
  std::uint8_t z = 0;
  std::uint8_t normalIndex = 0;
  std::uint8_t tangentIndex = 0;    // 0 until tangents are computed
  std::uint8_t bitangentIndex = 0;
  std::uint32_t colourIndex = 0;    // a byte in files; packing may number more colours
};

// Splits a packed colour into components 0..1 (1 each for a non-colour).
inline void ColourComponents(std::uint32_t colour, float rgb[3]) {
  if (IsNonColour(colour)) {
    rgb[0] = rgb[1] = rgb[2] = 1.0f;
    return;
  }
  rgb[0] = static_cast<float>(colour & 0xFF) / 255.0f;
  rgb[1] = static_cast<float>((colour >> 8) & 0xFF) / 255.0f;
  rgb[2] = static_cast<float>((colour >> 16) & 0xFF) / 255.0f;
}
