#include "gfx3d/scene_commands.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx3d/engine3d.h"
#include "gfx3d/object_transforms.h"
#include "gfx3d/scene_camera.h"
#include "gfx3d/scene_fog.h"
#include "gfx3d/scene_lights.h"
#include "gfx3d/scene_primitives.h"
#include "gfx3d/shader_programs.h"
#include "gfx3d/shadow_mode.h"
#include "video/renderer.h"

namespace {

constexpr double kSmallestLineWidth = 1;
constexpr double kLargestLineWidth = 512;
constexpr int kTangentSettings = 3;

Diveduva3D* Scene() { FlushEngineQuadBatch(); return Subsystems().scene; }  // the 2D batch goes first

// Light indices above 7 and NaN do nothing; any negative one means the effect light.
bool IsLightIndex(double index) { return index < kSceneLights; }

// NaN, the infinities and doubles beyond the float range all become 0.
float SceneNumber(double value) {
  const float narrowed = static_cast<float>(std::isfinite(value) ? value : 0.0);
  return std::isfinite(narrowed) ? narrowed : 0.0f;
}

Vector3 SceneVector(double x, double y, double z) { return {SceneNumber(x), SceneNumber(y), SceneNumber(z)}; }

float ClampedWidth(double width) {
  return static_cast<float>(std::clamp(std::isnan(width) ? 0.0 : width, kSmallestLineWidth, kLargestLineWidth));
}

}  // namespace

void SetCamera(double near, double far, double fov) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return;
  SetCamera(*scene, SceneNumber(near), SceneNumber(far), SceneNumber(fov));
  SetFaceOrientation(*scene, 0);
}

void SetCameraPosition(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ) {
  if (Diveduva3D* scene = Scene()) {
    SetCameraPosition(*scene, SceneVector(eyeX, eyeY, eyeZ), SceneVector(targetX, targetY, targetZ));
  }
}

void SetCameraUp(double x, double y, double z) {
  if (Diveduva3D* scene = Scene()) SetCameraUp(*scene, SceneVector(x, y, z));
}

void SetFaceOrientation(double v) {
  if (Diveduva3D* scene = Scene()) SetFaceOrientation(*scene, v > 0 ? 1 : v < 0 ? -1 : 0);
}

void EndScene3D() {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return;
  SetShadowMode(*scene, false);
  OpenGLDiveduva& renderer = scene->renderer;
  SetViewport2D(renderer, renderer.viewportX, renderer.viewportY, renderer.viewportWidth, renderer.viewportHeight);
}

void ClearDepthBuffer() {
  if (Diveduva3D* scene = Scene()) ClearDepthBuffer(*scene);
}

void SetLight(double index, double colour, double px, double py, double pz, double dx, double dy, double dz,
              double cutoff) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr || !IsLightIndex(index)) return;
  SetLight(*scene, TruncateToInt32(index), TruncateToInt32(colour), SceneVector(px, py, pz), SceneVector(dx, dy, dz),
           SceneNumber(cutoff), scene->debug);
}

void SetAmbientLight(double index, double colour) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr || !IsLightIndex(index)) return;
  SetAmbientLight(*scene, TruncateToInt32(index), TruncateToInt32(colour));
}

void SetFog(double colour, double exponential, double startOrDensity, double end) {
  if (Diveduva3D* scene = Scene()) {
    SetFog(*scene, TruncateToInt32(colour), TruncateToInt32(exponential) != 0, SceneNumber(startOrDensity),
           SceneNumber(end));
  }
}

void PushObjectTransform() {
  if (Diveduva3D* scene = Scene()) PushObjectTransform(*scene);
}

void PopObjectTransform() {
  if (Diveduva3D* scene = Scene()) PopObjectTransform(*scene);
}

void SetObjectTranslation(double x, double y, double z) {
  if (Diveduva3D* scene = Scene()) SetObjectTranslation(*scene, SceneVector(x, y, z));
}

void SetObjectScale(double x, double y, double z) {
  if (Diveduva3D* scene = Scene()) SetObjectScale(*scene, SceneVector(x, y, z));
}

void AddObjectRotation(double angle, double x, double y, double z) {
  if (Diveduva3D* scene = Scene()) AddObjectRotation(*scene, SceneNumber(angle), SceneVector(x, y, z));
}

void AddObjectMatrix(const NumberArray& matrix) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr || matrix.data == nullptr || matrix.dimensionCount < 1 || matrix.dim0 < 1) return;
  std::int64_t count = 1;
  for (std::int32_t size : {matrix.dim0, matrix.dim1, matrix.dim2, matrix.dim3}) count *= std::max(size, 1);
  if (count != 16) return;
  Matrix4 values{};
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = SceneNumber(matrix.data[i]);
  AddObjectMatrix(*scene, values);
}

void SetTangentMode(double mode) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return;
  // Negative modes wrap upwards too, so the setting is always 0, 1 or 2.
  const int remainder = TruncateToInt32(mode) % kTangentSettings;
  scene->tangentSetting = remainder < 0 ? remainder + kTangentSettings : remainder;
}

double SetSphereMapping(double on) {
  Diveduva3D* scene = Scene();
  const bool value = on != 0;
  if (scene != nullptr) scene->sphereMapping = value;
  return value ? 1 : 0;
}

void SetTextureOffset(double du, double dv) {
  if (Diveduva3D* scene = Scene()) {
    scene->textureOffsetU = SceneNumber(du);
    scene->textureOffsetV = SceneNumber(dv);
  }
}

void DrawAxes(double x, double y, double z) {
  if (Diveduva3D* scene = Scene()) DrawAxes(*scene, SceneVector(x, y, z));
}

void DrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double width, double colour) {
  if (Diveduva3D* scene = Scene()) {
    DrawLine3D(*scene, SceneVector(x1, y1, z1), SceneVector(x2, y2, z2), TruncateToInt32(colour), ClampedWidth(width));
  }
}

void DrawPoint3D(double x, double y, double z, double size, double colour) {
  if (Diveduva3D* scene = Scene()) DrawPoint3D(*scene, SceneVector(x, y, z), TruncateToInt32(colour), ClampedWidth(size));
}

double LoadShader(double index, const BasicString& vertexPath, const BasicString& fragmentPath) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return 0;
  return LoadShaderProgram(*scene, TruncateToInt32(index), vertexPath.TextPointer(), fragmentPath.TextPointer(),
                           ReportShaderError)
             ? 1
             : 0;
}

void UseShader(double index) {
  if (Diveduva3D* scene = Scene()) UseShaderProgram(*scene, TruncateToInt32(index));
}

void SetShaderValue(const BasicString& name, double value) {
  if (Diveduva3D* scene = Scene()) SetShaderValue(*scene, name.TextPointer(), static_cast<float>(value));
}
