#include "gfx3d/object_transforms.h"

#include "gfx3d/scene_camera.h"

namespace {

ObjectTransformLevel& CurrentLevel(Diveduva3D& scene) {
  return scene.transformStack[static_cast<std::size_t>(scene.transformLevel)];
}

}  // namespace

void ResetObjectTransformLevel(ObjectTransformLevel& level) {
  level.matrixCount = 0;
  level.rotationCount = 0;
  level.scale = {1, 1, 1};
  level.translation = {0, 0, 0};
}

bool PushObjectTransform(Diveduva3D& scene) {
  if (scene.transformLevel + 1 >= kObjectTransformLevels) return false;
  ++scene.transformLevel;
  ResetObjectTransformLevel(CurrentLevel(scene));
  if (SceneHasContext(scene)) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
  }
  return true;
}

void PopObjectTransform(Diveduva3D& scene) {
  if (scene.transformLevel <= 0) return;
  --scene.transformLevel;
  if (SceneHasContext(scene)) {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
  }
}

void PopAllObjectTransforms(Diveduva3D& scene) {
  while (scene.transformLevel > 0) PopObjectTransform(scene);
}

void SetObjectTranslation(Diveduva3D& scene, const Vector3& translation) {
  ObjectTransformLevel& level = CurrentLevel(scene);
  level.translation = translation;
  level.rotationCount = 0;
  level.matrixCount = 0;
}

void SetObjectScale(Diveduva3D& scene, const Vector3& scale) {
  ObjectTransformLevel& level = CurrentLevel(scene);
  level.scale = scale;
  level.rotationCount = 0;
  level.matrixCount = 0;
}

void AddObjectRotation(Diveduva3D& scene, float angle, const Vector3& axis) {
  ObjectTransformLevel& level = CurrentLevel(scene);
  if (level.rotationCount >= kTransformsPerLevel) return;
  level.rotations[static_cast<std::size_t>(level.rotationCount++)] = {angle, axis[0], axis[1], axis[2]};
}

void AddObjectMatrix(Diveduva3D& scene, const Matrix4& matrix) {
  ObjectTransformLevel& level = CurrentLevel(scene);
  if (level.matrixCount >= kTransformsPerLevel) return;
  level.matrices[static_cast<std::size_t>(level.matrixCount++)] = matrix;
}

void ApplyObjectTransforms(const Diveduva3D& scene) {
  for (int index = 0; index <= scene.transformLevel; ++index) {
    const ObjectTransformLevel& level = scene.transformStack[static_cast<std::size_t>(index)];
    for (int m = 0; m < level.matrixCount; ++m) glMultMatrixf(level.matrices[static_cast<std::size_t>(m)].data());
    glTranslatef(level.translation[0], level.translation[1], level.translation[2]);
    for (int r = level.rotationCount - 1; r >= 0; --r) {
      const auto& rotation = level.rotations[static_cast<std::size_t>(r)];
      glRotatef(rotation[0], rotation[1], rotation[2], rotation[3]);
    }
    glScalef(level.scale[0], level.scale[1], level.scale[2]);
  }
}
