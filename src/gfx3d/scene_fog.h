#pragma once
// Fog of the 3D scene.

#include <cstdint>

#include "gfx3d/engine3d.h"

// Colour -1 switches fog off. Otherwise exponential fog of the given density, or linear
// fog from start to end; linear with start and end both 0 spans the camera's near to far.
void SetFog(Diveduva3D& scene, std::int32_t colour, bool exponential, float startOrDensity, float end);
