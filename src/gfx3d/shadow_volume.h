#pragma once
// Stencil shadow volumes: the silhouette of an object as seen from the effect light,
// extruded to infinity, with the lit triangles as the near cap and the unlit ones
// extruded as the far cap.

#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_object.h"

// Links the triangle sides of frame 0 that join the same two vertices (positions equal
// within 0.00001 on every axis), once per object. Of several later triangles sharing a
// side, the last one becomes the neighbour.
void BuildEdgeAdjacency(MeshObjectX& object);
// Marks the stencil under the shadow of frame for a light at light (object space, taken
// as a direction from the object's origin). Right whichever face orientation is current
// and whether or not the object transform mirrors.
void DrawShadowVolume(MeshObjectX& object, const MeshFrame& frame, const Vector3& light);
