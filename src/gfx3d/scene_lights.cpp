#include "gfx3d/scene_lights.h"

#include <algorithm>
#include <cmath>

#include "gfx3d/scene_camera.h"
#include "gfx3d/scene_primitives.h"
#include "gfx3d/shadow_mode.h"

namespace {

constexpr float kDirectionalCutoff = 180.0f;  // GL's "no spot" cutoff
constexpr float kWidestSpotCutoff = 90.0f;
constexpr float kSpotDirectionEpsilon = 1e-7f;  // squared length below which a direction stays as is
// Debug drawing: the light's position and a spot light's beam.
constexpr std::int32_t kDebugLightColour = 0x80C8FF;
constexpr std::int32_t kDebugBeamColour = 0x6CAAE1;
constexpr float kDebugLightSize = 40;
constexpr float kDebugBeamWidth = 3;
constexpr float kDebugBeamLength = 500;

enum class LightKind { kFromViewer, kSpot, kPoint, kDirectional };

LightKind KindOf(const Vector3& position, const Vector3& direction, float cutoff) {
  const bool allZero = position == Vector3{0, 0, 0} && direction == Vector3{0, 0, 0};
  if (allZero) return LightKind::kFromViewer;
  if (cutoff <= kWidestSpotCutoff) return LightKind::kSpot;
  if (cutoff == kDirectionalCutoff) return LightKind::kDirectional;
  return LightKind::kPoint;
}

float SquaredLength(const Vector3& v) { return v[0] * v[0] + v[1] * v[1] + v[2] * v[2]; }

Vector3 Scaled(const Vector3& v, float factor) { return {v[0] * factor, v[1] * factor, v[2] * factor}; }

void SetEffectLight(Diveduva3D& scene, int index, const Vector3& colour, const Vector3& position, float cutoff) {
  EffectLight& light = scene.effectLight;
  light.on = cutoff != 0;
  light.position = position;
  light.colour = colour;
  light.mode = index == -3 ? EffectMode::kStencilShadow : index == -1 ? EffectMode::kBump : EffectMode::kCel;
  if (light.mode == EffectMode::kStencilShadow) SetShadowMode(scene, light.on);
}

void SwitchLightOff(Diveduva3D& scene, int index) {
  scene.lightMask = static_cast<std::uint8_t>(scene.lightMask & ~(1u << index));
  if (!SceneHasContext(scene)) return;
  glDisable(GL_LIGHT0 + index);
  if (scene.lightMask == 0) glDisable(GL_LIGHTING);
}

}  // namespace

Vector3 UnpackColour(std::int32_t colour) {
  const auto byte = [colour](int shift) { return static_cast<float>((colour >> shift) & 0xFF) / 255.0f; };
  return {byte(0), byte(8), byte(16)};
}

void SetLight(Diveduva3D& scene, int index, std::int32_t colour, const Vector3& position,
              const Vector3& direction, float cutoff, bool debugDraw) {
  const Vector3 rgb = UnpackColour(colour);
  if (index < 0) {
    SetEffectLight(scene, index, rgb, position, cutoff);
    return;
  }
  if (index >= kSceneLights) return;
  if (cutoff == 0) {
    SwitchLightOff(scene, index);
    return;
  }
  scene.lightMask = static_cast<std::uint8_t>(scene.lightMask | (1u << index));
  if (!SceneHasContext(scene)) return;

  const GLenum light = GL_LIGHT0 + static_cast<GLenum>(index);
  glEnable(GL_LIGHTING);
  glEnable(light);
  glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  const GLfloat diffuse[4] = {rgb[0], rgb[1], rgb[2], 1};
  const GLfloat noSpecular[4] = {0, 0, 0, 1};
  glLightfv(light, GL_DIFFUSE, diffuse);

  const LightKind kind = KindOf(position, direction, cutoff);
  switch (kind) {
    case LightKind::kFromViewer: {
      // Eye coordinates: the light sits behind the viewer whatever the camera does.
      const GLfloat towardsViewer[4] = {0, 0, 1, 0};
      glMatrixMode(GL_MODELVIEW);
      glPushMatrix();
      glLoadIdentity();
      glLightfv(light, GL_POSITION, towardsViewer);
      glPopMatrix();
      glLightfv(light, GL_SPECULAR, noSpecular);
      glLightf(light, GL_SPOT_CUTOFF, kDirectionalCutoff);
      break;
    }
    case LightKind::kSpot: {
      Vector3 aim = direction;
      if (SquaredLength(aim) > kSpotDirectionEpsilon) aim = Scaled(aim, 1.0f / std::sqrt(SquaredLength(aim)));
      const GLfloat at[4] = {position[0], position[1], position[2], 1};
      // GL takes spot cutoffs of 0 to 90 only; a negative one gives the narrowest cone.
      glLightf(light, GL_SPOT_CUTOFF, std::max(cutoff, 0.0f));
      glLightfv(light, GL_POSITION, at);
      glLightfv(light, GL_SPOT_DIRECTION, aim.data());
      glLightfv(light, GL_SPECULAR, diffuse);
      break;
    }
    case LightKind::kPoint: {
      const GLfloat at[4] = {position[0], position[1], position[2], 1};
      glLightfv(light, GL_POSITION, at);
      glLightf(light, GL_SPOT_CUTOFF, kDirectionalCutoff);
      glLightfv(light, GL_SPECULAR, diffuse);
      break;
    }
    case LightKind::kDirectional: {
      Vector3 towardsLight = Scaled(direction, -1);
      if (SquaredLength(towardsLight) > 0) towardsLight = Scaled(towardsLight, 1.0f / std::sqrt(SquaredLength(towardsLight)));
      const GLfloat at[4] = {towardsLight[0], towardsLight[1], towardsLight[2], 0};
      glLightfv(light, GL_POSITION, at);
      glLightf(light, GL_SPOT_CUTOFF, kDirectionalCutoff);
      glLightfv(light, GL_SPECULAR, noSpecular);
      break;
    }
  }

  if (debugDraw) {
    DrawPoint3D(scene, position, kDebugLightColour, kDebugLightSize);
    if (kind == LightKind::kSpot) {
      const Vector3 end{position[0] + kDebugBeamLength * direction[0], position[1] + kDebugBeamLength * direction[1],
                        position[2] + kDebugBeamLength * direction[2]};
      DrawLine3D(scene, position, end, kDebugBeamColour, kDebugBeamWidth);
    }
  }
}

void SetAmbientLight(Diveduva3D& scene, int index, std::int32_t colour) {
  SetLight(scene, index, colour, {0, 0, 0}, {0, 0, 0}, kDirectionalCutoff, false);
}
