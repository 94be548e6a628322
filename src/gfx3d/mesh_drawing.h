#pragma once
// Drawing mesh objects: the choice and blending of animation frames, the view-cone
// visibility test, one draw call per object over the vertex arrays mesh_vertex_arrays.h
// sets up, and the three effect modes the effect light selects (bump, cel, stencil
// shadow).

#include <GL/gl.h>

#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_object.h"

// Which frames a draw blends: position = other + (base - other) x weight.
struct FrameChoice {
  int base = 0;
  int other = 0;
  float weight = 0;
};

// Without interpolation base = b, other = a, weight = t. With it, t outside 0..1 is
// folded to |fmod(t, 1)| and the pair of neighbouring frames around a + (b - a) t is
// chosen. Both frames are clamped to 0..frameCount - 1.
FrameChoice ChooseFrames(int frameCount, int a, int b, float t, bool interpolate);

// True when the frame's bounding sphere, placed by level 0 of the object transform
// stack, may show inside the camera's view cone.
bool ObjectMayShow(const Diveduva3D& scene, const MeshFrame& frame);

// Draws one object with the textures the 2D renderer has bound.
void DrawMeshObject(Diveduva3D& scene, MeshObjectX& object, int frameA, int frameB, float t, bool interpolate);
// Draws every object of the slot; a scene slot binds each object's own textures and then
// the binding that was current before. Nothing for an empty or invalid slot.
void DrawObjectSlot(Diveduva3D& scene, long long slot, int frameA, int frameB, float t, bool interpolate);
