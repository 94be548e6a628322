#pragma once
// The one force-feedback effect games can play: a constant force in a direction on the X
// and Y axes, for a time, with one strength derived from the direction's length.

#include <SDL2/SDL_haptic.h>

#include <cstdint>

// Force strength on the classic 0 .. 10000 scale.
inline constexpr double kMaxForceMagnitude = 10000.0;

struct ConstantForce {
  std::int32_t directionX = 0;  // force x and y, clamped to -1 .. 1, times 32767
  std::int32_t directionY = 0;
  std::uint32_t durationMs = 0;
  std::int32_t magnitude = 0;   // (x² + y²) × 10000 × 0.5 truncated: 0 .. 10000
};

// The effect for a duration in milliseconds and force x and y. Force components are
// clamped to -1 .. 1 (NaN counts as 0); a negative or NaN duration is 0 and a duration
// is at most 4294967 ms, the longest the classic microsecond count can hold.
ConstantForce MakeConstantForce(double durationMs, double forceX, double forceY);

// The SDL description of the effect: a constant force in Cartesian direction, its level
// the magnitude scaled to SDL's 0 .. 32767, no envelope, no trigger button.
SDL_HapticEffect ConstantForceEffect(const ConstantForce& force);
