#pragma once
// The object transform stack of the 3D scene: up to 16 levels, each holding matrices,
// rotations, a scale and a translation that mesh drawing applies to the objects drawn
// while the level is current. Pushing and popping a level also pushes and pops GL's
// model-view matrix, so the two stacks move together.

#include "gfx3d/engine3d.h"

// No matrices, no rotations, scale 1, 1, 1, translation 0, 0, 0.
void ResetObjectTransformLevel(ObjectTransformLevel& level);

// A new empty level; refused (false) when 15 levels are already pushed.
bool PushObjectTransform(Diveduva3D& scene);
// Back to the level below; nothing on level 0.
void PopObjectTransform(Diveduva3D& scene);
// Pops every pushed level.
void PopAllObjectTransforms(Diveduva3D& scene);

// Translation and scale of the current level; each drops the level's rotations and
// matrices.
void SetObjectTranslation(Diveduva3D& scene, const Vector3& translation);
void SetObjectScale(Diveduva3D& scene, const Vector3& scale);
// Appends a rotation (degrees about the axis); ignored when the level holds 16 already.
void AddObjectRotation(Diveduva3D& scene, float angle, const Vector3& axis);
// Appends a matrix (column after column); ignored when the level holds 16 already.
void AddObjectMatrix(Diveduva3D& scene, const Matrix4& matrix);

// Multiplies GL's current matrix by every level from 0 to the current one: the level's
// matrices in order, its translation, its rotations from the last added to the first,
// its scale.
void ApplyObjectTransforms(const Diveduva3D& scene);
