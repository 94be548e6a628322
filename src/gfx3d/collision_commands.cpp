#include "gfx3d/collision_commands.h"

#include <cmath>
#include <cstdint>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_collision.h"
#include "gfx3d/scene_primitives.h"
#include "gfx3d/screen_projection.h"
#include "video/renderer.h"

namespace {

constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kYellow = 0x00FFFF;
constexpr float kHitWidth = 1;
constexpr float kMissWidth = 5;
constexpr float kRayHitWidth = 5;
constexpr float kRayMissWidth = 1;
constexpr float kMissedRayLength = 1000;

Diveduva3D* Scene() { FlushEngineQuadBatch(); return Subsystems().scene; }  // the 2D batch goes first

float SceneNumber(double value) {
  const float narrowed = static_cast<float>(std::isfinite(value) ? value : 0.0);
  return std::isfinite(narrowed) ? narrowed : 0.0f;
}

Vector3 SceneVector(double x, double y, double z) { return {SceneNumber(x), SceneNumber(y), SceneNumber(z)}; }

// Frame numbers are taken as unsigned: a negative one is past every frame count.
std::uint32_t FrameNumber(double frame) {
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(TruncateToInt32(frame)));
}

long long SlotNumber(double slot) { return TruncateToInt64(slot); }

Vector3 Plus(const Vector3& a, const Vector3& b, float sign) {
  return {a[0] + sign * b[0], a[1] + sign * b[1], a[2] + sign * b[2]};
}

void DrawBoxEdges(Diveduva3D& scene, const Vector3& centre, const Vector3 axes[3], std::int32_t colour,
                  float width) {
  // Corner i takes +axis k where bit k of i is set, -axis k otherwise.
  auto corner = [&](int i) {
    Vector3 at = centre;
    for (int k = 0; k < 3; ++k) at = Plus(at, axes[k], (i >> k) & 1 ? 1.0f : -1.0f);
    return at;
  };
  for (int i = 0; i < 8; ++i) {
    for (int k = 0; k < 3; ++k) {
      if (((i >> k) & 1) == 0) DrawLine3D(scene, corner(i), corner(i | (1 << k)), colour, width);
    }
  }
}

}  // namespace

double SphereHitsObject(double slot, double frame, double radius, double x, double y, double z) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return 0;
  const Vector3 centre = SceneVector(x, y, z);
  const float r = SceneNumber(radius);
  const bool hit = SlotSphereHit(*scene, SlotNumber(slot), FrameNumber(frame), r, centre);
  if (scene->debug) DrawDebugSphere(*scene, centre, r, hit ? kRed : kGreen, hit ? kHitWidth : kMissWidth);
  return hit ? 1 : 0;
}

double BoxHitsObject(double slot, double frame, double x, double y, double z, double width, double height) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return 0;
  const Vector3 centre = SceneVector(x, y, z);
  const float halfWidth = SceneNumber(width) / 2, halfHeight = SceneNumber(height) / 2;
  const Vector3 axes[3] = {{halfWidth, 0, 0}, {0, 0, halfWidth}, {0, halfHeight, 0}};
  const bool hit = SlotBoxHit(*scene, SlotNumber(slot), FrameNumber(frame), centre, axes[0], axes[1], axes[2]);
  if (scene->debug) DrawBoxEdges(*scene, centre, axes, hit ? kRed : kGreen, hit ? kHitWidth : kMissWidth);
  return hit ? 1 : 0;
}

double RayHitsObject(double slot, double frame, double x, double y, double z, double dx, double dy, double dz) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr) return 0;
  const Vector3 origin = SceneVector(x, y, z);
  const Vector3 direction = SceneVector(dx, dy, dz);
  const float distance = SlotRayHit(*scene, SlotNumber(slot), FrameNumber(frame), origin, direction);
  if (scene->debug) {
    const double length = std::sqrt(double(direction[0]) * direction[0] + double(direction[1]) * direction[1] +
                                    double(direction[2]) * direction[2]);
    const float reach = distance != 0 ? distance : kMissedRayLength;
    const float step = length > 0 ? static_cast<float>(reach / length) : 0.0f;
    const std::int32_t colour = distance > 0 ? kGreen : distance < 0 ? kYellow : kRed;
    DrawLine3D(*scene, origin, Plus(origin, {direction[0] * step, direction[1] * step, direction[2] * step}, 1),
               colour, distance != 0 ? kRayHitWidth : kRayMissWidth);
  }
  return distance;
}

void ProjectToScreen(double x, double y, double z, double& sx, double& sy, double& sz) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr || scene->renderer.context == nullptr) return;
  Vector3 screen{};
  if (!ProjectToScreen(SceneVector(x, y, z), screen)) return;
  sx = screen[0];
  sy = screen[1];
  sz = screen[2];
}

void ScreenToWorld(double sx, double sy, double sz, double& x, double& y, double& z) {
  Diveduva3D* scene = Scene();
  if (scene == nullptr || scene->renderer.context == nullptr) return;
  const float flippedRow = static_cast<float>(scene->renderer.surfaceHeight) - 1 - SceneNumber(sy);
  Vector3 point{};
  if (!ScreenToWorld({SceneNumber(sx), flippedRow, SceneNumber(sz)}, point)) return;
  x = point[0];
  y = point[1];
  z = point[2];
}
