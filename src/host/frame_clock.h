#pragma once
// The engine's millisecond clock and the frame grid arithmetic.
//
// Frames are shown on a grid of slots frameInterval apart. A frame that finishes early
// waits for its slot; a late frame is shown at once and the next slot becomes the first
// grid point not earlier than now, so missed slots are skipped, never made up.

#include <cstdint>

class OpenGLDiveduva;

// Monotonic milliseconds as a double: the performance counter when the platform has one,
// else the system millisecond timer.
double ReadClock();
// counter ticks at frequency ticks per second, in milliseconds, without losing the
// fraction for large counter values. frequency must be greater than 0.
double CounterToMilliseconds(std::uint64_t counter, std::uint64_t frequency);

// 1000 / framesPerSecond, or 2.0 ms when framesPerSecond is 0 or less.
double FrameIntervalForRate(std::int32_t framesPerSecond);
// renderer.frameInterval = FrameIntervalForRate(framesPerSecond).
void SetFrameRate(OpenGLDiveduva& renderer, std::int32_t framesPerSecond);
// Engine: the slot after a frame shown at now whose slot was nextFrameTime: one interval on, and
// further intervals while now is past it (when frameInterval is greater than 0).
double NextFrameSlot(double now, double nextFrameTime, double frameInterval);
// The frames-per-second truncated from a frame interval, as a window re-creation passes
// it on: 1000 / frameInterval toward zero, 5 when the interval is 0 or less.
std::int32_t FrameRateOfInterval(double frameInterval);

// Commands.
// Applies a new frame rate to the renderer (truncated toward zero; 0 or less means frames
// at least 2 ms apart). EngineState.frameRate is left alone.
void SetFrameRateLimit(double framesPerSecond);
// Milliseconds since the start of the previous frame; never 0 or less (then 1).
double GetFrameDuration();
// Milliseconds since start-up finished.
double GetTimeSinceStart();
