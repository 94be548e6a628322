#pragma once
// Lines, points, axes and wire spheres drawn straight into the 3D scene, mostly to show
// what a game or the engine's debug drawing is doing.

#include <cstdint>

#include "gfx3d/engine3d.h"

// A smoothed line of the given width in a packed colour, untextured and unlit.
void DrawLine3D(Diveduva3D& scene, const Vector3& from, const Vector3& to, std::int32_t colour, float width);
// A smoothed point of the given size in a packed colour, untextured.
void DrawPoint3D(Diveduva3D& scene, const Vector3& at, std::int32_t colour, float size);
// Three arrows of length 20 from origin under the camera matrix alone: red along x, green
// along y, blue along z.
void DrawAxes(Diveduva3D& scene, const Vector3& origin);
// A wire sphere: the unit icosahedron with each face split into four, each small
// triangle drawn as a line loop, scaled by radius and moved to centre.
void DrawDebugSphere(Diveduva3D& scene, const Vector3& centre, float radius, std::int32_t colour, float lineWidth);
