#pragma once
// The eight lights of the 3D scene and the effect light of mesh drawing.

#include <cstdint>

#include "gfx3d/engine3d.h"

// Red, green and blue in 0..1 from a packed colour (red in the low byte).
Vector3 UnpackColour(std::int32_t colour);

// A negative index sets the effect light: on when cutoff is not 0; mode 3 (stencil
// shadows, and the shadow mode follows it on or off) for -3, 1 (bump lighting) for -1,
// 2 (cel shading) for any other. Index 0..7 sets that light: cutoff 0 switches it off
// (and lighting with the last one); position and direction all 0 make a light from the
// viewer; cutoff up to 90 a spot light; exactly 180 a directional light shining along
// direction; anything else a point light. Indices above 7 do nothing. With debugDraw the
// light is shown: a big point at its position and, for a spot light, its direction.
void SetLight(Diveduva3D& scene, int index, std::int32_t colour, const Vector3& position,
              const Vector3& direction, float cutoff, bool debugDraw);
// A light from the viewer.
void SetAmbientLight(Diveduva3D& scene, int index, std::int32_t colour);
