#pragma once
// The camera of the 3D scene: projection, view, face orientation and the depth buffer.

#include "gfx3d/engine3d.h"

// tan of the half view angle with a margin of 5 degrees, at most tan(89 degrees): the
// cone the visibility test of mesh drawing uses.
float ViewConeFactor(float fov);

// The view matrix looking from eye at target with the given up direction (column after
// column). A zero-length forward, side or up vector is left as it is, unnormalised.
Matrix4 LookAtMatrix(const Vector3& eye, const Vector3& target, const Vector3& up);

// Enters the 3D set-up on the renderer's viewport: perspective for fov > 0 (fov is the
// vertical view angle in degrees), orthographic for fov <= 0; the fixed 3D drawing
// state; lights, effect light, texture offsets and sphere mapping cleared; every pushed
// object transform popped. Closes an open shadow pass first.
void SetCamera(Diveduva3D& scene, float near, float far, float fov);
// Looks from eye at target with the stored up vector and keeps that view as the camera
// matrix; the object transform stack goes back to one empty level.
void SetCameraPosition(Diveduva3D& scene, const Vector3& eye, const Vector3& target);
// The up vector of the next SetCameraPosition.
void SetCameraUp(Diveduva3D& scene, const Vector3& up);
// 0: no face culling; 1: clockwise front faces, back faces culled; -1: counter-clockwise
// front faces, back faces culled. Other values are stored as they are and cull nothing.
void SetFaceOrientation(Diveduva3D& scene, int orientation);
void ClearDepthBuffer(Diveduva3D& scene);

