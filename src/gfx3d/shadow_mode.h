#pragma once
// The stencil shadow pass of the 3D scene. While the shadow mode is on, drawn objects
// only build their shadow volumes in the stencil buffer; switching it off darkens every
// pixel whose stencil value is not 0 and goes back to normal drawing.

#include "gfx3d/engine3d.h"

// Does nothing when the mode does not change.
void SetShadowMode(Diveduva3D& scene, bool on);
