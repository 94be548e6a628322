#pragma once
// Cel shading: a texture per object whose rows are the object's colours and whose columns
// run through the brightness ramp, so lighting picks a band instead of a smooth shade.

#include <cstdint>

#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_object.h"

// Builds the object's cel texture when it has none: height the smallest power of two not
// below the colour count (celRowStep = 1 / height), width 64 doubled while below four
// times the ramp length (at most 512). Needs a current context.
void BuildCelTexture(const Diveduva3D& scene, MeshObjectX& object);
// The texel rows and size BuildCelTexture uploads (RGBA bytes, row after row).
std::vector<std::uint8_t> CelTexels(const std::vector<std::uint8_t>& ramp, const MeshObject& object, int& width,
                                    int& height);
// Replaces the ramp (count <= 0 gives the single entry 255) and deletes every object's
// cel texture so that each is built again.
void SetCelRamp(Diveduva3D& scene, const std::uint8_t* bytes, int count);
