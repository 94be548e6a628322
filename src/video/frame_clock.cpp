#include "video/frame_clock.h"

#include <SDL2/SDL.h>

#include <cmath>
#include <limits>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "video/renderer.h"

double CounterToMilliseconds(std::uint64_t counter, std::uint64_t frequency) {
  // Whole seconds and the remainder separately: a nanosecond counter after months of
  // uptime no longer fits a double's mantissa, its split parts do.
  const std::uint64_t seconds = counter / frequency;
  const std::uint64_t remainder = counter % frequency;
  return static_cast<double>(seconds) * 1000.0 +
         static_cast<double>(remainder) * 1000.0 / static_cast<double>(frequency);
}

double ReadClock() {
  const std::uint64_t frequency = SDL_GetPerformanceFrequency();
  if (frequency > 0) return CounterToMilliseconds(SDL_GetPerformanceCounter(), frequency);
  return static_cast<double>(static_cast<std::uint32_t>(SDL_GetTicks()));
}

double FrameIntervalForRate(std::int32_t framesPerSecond) {
  return framesPerSecond > 0 ? 1000.0 / framesPerSecond : 2.0;
}

void SetFrameRate(OpenGLDiveduva& renderer, std::int32_t framesPerSecond) {
  renderer.frameInterval = FrameIntervalForRate(framesPerSecond);
}

double NextFrameSlot(double now, double nextFrameTime, double frameInterval) {
  double next = nextFrameTime + frameInterval;
  if (!(frameInterval > 0) || !(now > next)) return next;
  // Skip every missed slot at once (a long pause would otherwise cost one loop pass per
  // slot), then settle the rounding so the result is the first grid point >= now.
  const double missed = std::floor((now - next) / frameInterval);
  if (missed > 1) next += (missed - 1) * frameInterval;
  while (now > next) next += frameInterval;
  return next;
}

std::int32_t FrameRateOfInterval(double frameInterval) {
  if (!(frameInterval > 0)) return 5;
  const double rate = 1000.0 / frameInterval;
  if (rate >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(rate);
}

void SetFrameRateLimit(double framesPerSecond) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer != nullptr) SetFrameRate(*renderer, TruncateToInt32Or(framesPerSecond, 0));
}

double GetFrameDuration() {
  const double duration = ReadClock() - Engine().previousFrameTime;
  return duration > 0 ? duration : 1;
}

double GetTimeSinceStart() { return ReadClock() - Engine().startTime; }
