#pragma once
// Loading a mesh object from a binary or text model file, and saving it as a binary one.

#include "gfx3d/mesh_object.h"

// Clears object and fills it from the file at path (already resolved through the
// archive): the binary form when the file starts with the magic, else the text form,
// which is packed. With expand a binary load also builds every frame's full vertices.
// On failure the object is cleared and the error log gets "Wrong .ddd version." (binary
// version other than 1.02), then "# read error" or "# malloc error", then the path; a
// file that cannot be opened fails without a line.
bool LoadModelFile(MeshObjectX& object, const char* path, bool expand);

// The largest colour index a binary model file can store.
inline constexpr std::uint32_t kMaxStoredColourIndex = 255;

// Writes object as a binary model file at path, replacing the file whole (never leaving
// a half-written one). False when the file cannot be written, or when a slot's colour
// index does not fit the file's byte (nothing is written then).
bool SaveModelFile(const MeshObject& object, const char* path);
