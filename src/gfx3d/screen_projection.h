#pragma once
// Points between the 3D scene and the screen, through GL's current viewport, projection
// and model-view matrices.

#include "gfx3d/engine3d.h"

// Screen position of point: x and y in viewport pixels with rows counted from the top, z
// the depth 0..1. False (screen left unchanged) when the point projects with w = 0.
bool ProjectToScreen(const Vector3& point, Vector3& screen);
// The scene point under screen (x, y with rows counted from the bottom, z the depth 0..1).
// A projection that cannot be inverted counts as the identity. False (point unchanged)
// when the result has w = 0.
bool ScreenToWorld(const Vector3& screen, Vector3& point);
