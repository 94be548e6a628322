#include "input/force_effect.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDirectionScale = 32767.0;
// The classic duration is a 32-bit count of microseconds.
constexpr double kLongestDurationMs = 4294967.0;

double ClampedForce(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, -1.0, 1.0); }

}  // namespace

ConstantForce MakeConstantForce(double durationMs, double forceX, double forceY) {
  const double x = ClampedForce(forceX);
  const double y = ClampedForce(forceY);
  ConstantForce force;
  force.directionX = static_cast<std::int32_t>(x * kDirectionScale);
  force.directionY = static_cast<std::int32_t>(y * kDirectionScale);
  const double duration = std::isnan(durationMs) ? 0.0 : std::clamp(durationMs, 0.0, kLongestDurationMs);
  force.durationMs = static_cast<std::uint32_t>(duration);
  force.magnitude = static_cast<std::int32_t>((x * x + y * y) * kMaxForceMagnitude * 0.5);
  return force;
}

SDL_HapticEffect ConstantForceEffect(const ConstantForce& force) {
  SDL_HapticEffect effect;
  SDL_zero(effect);
  effect.type = SDL_HAPTIC_CONSTANT;
  effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
  effect.constant.direction.dir[0] = force.directionX;
  effect.constant.direction.dir[1] = force.directionY;
  effect.constant.length = force.durationMs;
  effect.constant.level = static_cast<Sint16>(force.magnitude * 32767 / static_cast<std::int32_t>(kMaxForceMagnitude));
  return effect;
}
