#pragma once
// The binary model file. All numbers little-endian:
//   0   u32     magic 0x00C6B317 (bytes 17 B3 C6 00)
//   4   double  version, exactly 1.02
//   12  i32     frameCount
//   16  i32     colourCount
//   20  i32     texCoordCount
//   24  u32 x colourCount        colour table (0x00BBGGRR or a group marker)
//       f32 u, f32 v x texCoordCount   one pair per vertex slot, shared by every frame
//   frameCount frame records, back to back:
//       i32 vertexCount, f32 offset[3], f32 scale[3],
//       vertexCount slots of 5 bytes: x, y, z, normal index, colour index
// The reader works on the bytes of a whole file; the writer produces the same layout.

#include <cstdint>
#include <span>
#include <string>

#include "gfx3d/mesh_object.h"

inline constexpr std::uint32_t kModelMagic = 0x00C6B317;
inline constexpr double kModelVersion = 1.02;
inline constexpr std::size_t kModelHeaderSize = 24;
inline constexpr std::size_t kModelFrameHeaderSize = 28;
inline constexpr std::size_t kModelSlotSize = 5;

enum class ModelReadStatus {
  kLoaded,
  kWrongVersion,  // the version is not exactly 1.02
  kReadError,     // short, damaged or inconsistent file
};

// Fills object (which the caller has cleared) from file. Counts are checked against the
// bytes that follow before anything is allocated; a normal index above 161 or a colour
// index outside the colour table is a read error. With expand, every frame also gets its
// full vertices. Sets tangentsDone on success.
ModelReadStatus ReadBinaryModel(std::span<const std::uint8_t> file, MeshObject& object, bool expand);

// The binary file of object: the header with the object's counts, its colour table and
// texture coordinates, and per frame the packed slots (colour index as its low byte).
std::string FormatBinaryModel(const MeshObject& object);

// True when the first four bytes of file are the magic.
bool HasModelMagic(std::span<const std::uint8_t> file);
