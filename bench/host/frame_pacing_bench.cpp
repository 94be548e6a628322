// Frame pacing precision: how far from its grid slot each frame starts, and what the
// busy wait costs in processor time.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/frame_present.h"
#include "video/frame_clock.h"
#include "video/game_window.h"
#include "video/renderer.h"

namespace {

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const std::size_t index = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size()))) - 1;
  return values[std::min(index, values.size() - 1)];
}

// 600 frames at 60 fps of a trivial frame (a clear). Counters, in milliseconds: the
// median, 99th percentile and largest |frame start - grid slot|; and the processor
// seconds used per second, by the game thread and by the whole process (llvmpipe's
// threads included).
void BM_FramePacing60(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  OpenGLDiveduva renderer;
  if (!CreateGameWindow(renderer, 640, 480, 0, 60, 0)) {
    state.SkipWithError("no window");
    return;
  }
  constexpr int kFrames = 600;
  std::vector<double> offsets;
  offsets.reserve(kFrames);
  double threadCpu = 0;
  double processCpu = 0;
  double wall = 0;
  for (auto _ : state) {
    // Start on a fresh grid so the first frame is not late by the set-up time.
    renderer.nextFrameTime = ReadClock() + renderer.frameInterval;
    const double wallStart = ReadClock();
    const double threadStart = CpuSeconds(RUSAGE_THREAD);
    const double processStart = CpuSeconds(RUSAGE_SELF);
    for (int frame = 0; frame < kFrames; ++frame) {
      glClear(GL_COLOR_BUFFER_BIT);
      const double slot = renderer.nextFrameTime;
      SwapAndPace(renderer);
      offsets.push_back(std::fabs(ReadClock() - slot));
    }
    wall += (ReadClock() - wallStart) / 1000.0;
    threadCpu += CpuSeconds(RUSAGE_THREAD) - threadStart;
    processCpu += CpuSeconds(RUSAGE_SELF) - processStart;
  }
  state.counters["median_ms"] = Percentile(offsets, 0.5);
  state.counters["p99_ms"] = Percentile(offsets, 0.99);
  state.counters["max_ms"] = Percentile(offsets, 1.0);
  state.counters["thread_cpu_per_s"] = threadCpu / wall;
  state.counters["process_cpu_per_s"] = processCpu / wall;
}
BENCHMARK(BM_FramePacing60)->Iterations(1)->Unit(benchmark::kMillisecond);

// The cost of one clock reading, which bounds how closely the busy wait meets a slot.
void BM_ReadClock(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadClock());
}
BENCHMARK(BM_ReadClock);

// One empty pass of the event pump, as the busy wait makes it between clock readings.
void BM_EmptyEventPoll(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  OpenGLDiveduva renderer;
  if (!CreateGameWindow(renderer, 64, 64, 0, 60, 0)) {
    state.SkipWithError("no window");
    return;
  }
  SDL_Event event;
  for (auto _ : state) benchmark::DoNotOptimize(SDL_PollEvent(&event));
}
BENCHMARK(BM_EmptyEventPoll);

}  // namespace
