#include "gfx3d/scene_camera.h"

#include <cmath>

#include "gfx2d/drawing_state.h"
#include "gfx3d/object_transforms.h"
#include "gfx3d/shadow_mode.h"
#include "video/renderer.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kWidestViewCone = 89.0f;  // degrees; beyond it the tangent explodes
constexpr float kViewConeMargin = 5.0f;   // degrees added so objects at the edge still count
// An orthographic camera's half height is near x tan(-fov / 2) x this.
constexpr float kOrthographicScale = 100.0f;

Vector3 Subtract(const Vector3& a, const Vector3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector3 UnitOrAsIs(const Vector3& v) {
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) return v;
  return {v[0] / length, v[1] / length, v[2] / length};
}

}  // namespace

float ViewConeFactor(float fov) {
  const float angle = fov + kViewConeMargin > kWidestViewCone ? kWidestViewCone : fov + kViewConeMargin;
  return std::tan(angle / kDegreesPerRadian);
}

Matrix4 LookAtMatrix(const Vector3& eye, const Vector3& target, const Vector3& up) {
  const Vector3 f = UnitOrAsIs(Subtract(eye, target));
  const Vector3 s = UnitOrAsIs(Cross(up, f));
  const Vector3 u = UnitOrAsIs(Cross(f, s));
  // Rows s, u, f, then a translation by -eye.
  Matrix4 m{};
  for (int column = 0; column < 3; ++column) {
    m[column * 4 + 0] = s[column];
    m[column * 4 + 1] = u[column];
    m[column * 4 + 2] = f[column];
  }
  for (int row = 0; row < 3; ++row) {
    m[12 + row] = -(m[row] * eye[0] + m[4 + row] * eye[1] + m[8 + row] * eye[2]);
  }
  m[15] = 1;
  return m;
}

void SetCamera(Diveduva3D& scene, float near, float far, float fov) {
  SetShadowMode(scene, false);
  scene.viewConeFactor = ViewConeFactor(fov);
  scene.cameraNear = near;
  scene.cameraFar = far;
  scene.up = {0, 1, 0};
  scene.lightMask = 0;
  scene.effectLight = EffectLight{};
  scene.textureOffsetU = scene.textureOffsetV = 0;
  scene.sphereMapping = false;
  // Pushed levels go before the view is set: each pop would otherwise put back a
  // matrix of the last scene over the new one.
  PopAllObjectTransforms(scene);
  if (!SceneHasContext(scene)) return;
  OpenGLDiveduva& renderer = scene.renderer;

  const int width = renderer.viewportWidth;
  const int height = renderer.viewportHeight;
  glViewport(renderer.viewportX, renderer.surfaceHeight - renderer.viewportY - height, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double aspect = height != 0 ? static_cast<double>(width) / height : 1.0;
  // A frustum or box that GL refuses (near <= 0 in perspective, near = far, a zero
  // height) leaves the identity: the scene shows nothing sensible but nothing breaks.
  if (fov > 0) {
    const double f = near * std::tan(fov * kPi / 360.0);
    glFrustum(-aspect * f, aspect * f, -f, f, near, far);
  } else {
    const double f = near * std::tan(-fov * kPi / 360.0) * kOrthographicScale;
    glOrtho(-aspect * f, aspect * f, -f, f, near, far);
    scene.viewConeFactor = std::tan(kWidestViewCone / kDegreesPerRadian);
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  BindSpriteTexture(renderer, -1, -1, false);

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0);
  glColor4f(1, 1, 1, 1);
  glClearColor(0, 0, 0, 1);
  for (GLenum capability : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                            GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING, GL_CULL_FACE}) {
    glDisable(capability);
  }
  // The light mask starts empty, so no light of an earlier scene may still shine.
  for (int light = 0; light < kSceneLights; ++light) glDisable(GL_LIGHT0 + light);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DITHER);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glFrontFace(GL_CCW);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
  glGetFloatv(GL_MODELVIEW_MATRIX, scene.cameraMatrix.data());
}

void SetCameraPosition(Diveduva3D& scene, const Vector3& eye, const Vector3& target) {
  scene.eye = eye;
  scene.target = target;
  PopAllObjectTransforms(scene);
  ResetObjectTransformLevel(scene.transformStack[0]);
  scene.cameraMatrix = LookAtMatrix(eye, target, scene.up);
  if (!SceneHasContext(scene)) return;
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(scene.cameraMatrix.data());
}

void SetCameraUp(Diveduva3D& scene, const Vector3& up) { scene.up = up; }

void SetFaceOrientation(Diveduva3D& scene, int orientation) {
  scene.faceOrientation = orientation;
  if (!SceneHasContext(scene)) return;
  if (orientation == 1 || orientation == -1) {
    glFrontFace(orientation == 1 ? GL_CW : GL_CCW);
    glEnable(GL_CULL_FACE);
  } else {
    glDisable(GL_CULL_FACE);
  }
}

void ClearDepthBuffer(Diveduva3D& scene) {
  if (SceneHasContext(scene)) glClear(GL_DEPTH_BUFFER_BIT);
}
