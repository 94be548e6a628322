// What input costs the frame loop: the keyboard snapshot and mouse frame of every frame
// and idle-wait pass, with an empty queue and with a burst of mouse motion (a 1000 Hz
// mouse gives about 17 events per 60 Hz frame), joystick reads, and a whole idle-wait
// activity check with ten joysticks.

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <vector>

#include "input/idle_activity.h"
#include "input/input_manager.h"

namespace {

// SDL's offscreen window with an input manager on it, and virtual joysticks.
class InputBench {
 public:
  explicit InputBench(int joysticks) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ready_ = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) == 0;
    if (!ready_) return;
    window_ = SDL_CreateWindow("Input", 0, 0, 640, 480, 0);
    for (int i = 0; i < joysticks; ++i) {
      SDL_VirtualJoystickDesc description;
      SDL_zero(description);
      description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
      description.naxes = 8;
      description.nbuttons = 32;
      description.nhats = 1;
      description.name = "Bench Pad";
      SDL_JoystickAttachVirtualEx(&description);
    }
    ResetInput(input_);
    InitInput(input_, window_, 1);
    ready_ = window_ != nullptr && input_.joystickCount == joysticks;
  }
  ~InputBench() {
    ShutdownInput(input_);
    while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
  }
  bool Ready() const { return ready_; }
  InputManager& Input() { return input_; }
  Uint32 WindowId() const { return SDL_GetWindowID(window_); }

 private:
  bool ready_ = false;
  SDL_Window* window_ = nullptr;
  InputManager input_;
};

void PushMotionBurst(Uint32 windowId, int events) {
  for (int i = 0; i < events; ++i) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId;
    event.motion.xrel = 1;
    event.motion.yrel = -1;
    SDL_PushEvent(&event);
  }
}

// The input steps of one frame: keyboard snapshot, new mouse frame, one mouse read.
void BM_FrameInputSteps(benchmark::State& state) {
  InputBench bench(0);
  if (!bench.Ready()) {
    state.SkipWithError("no offscreen window");
    return;
  }
  const int burst = static_cast<int>(state.range(0));
  MouseState mouse;
  for (auto _ : state) {
    state.PauseTiming();
    PushMotionBurst(bench.WindowId(), burst);
    state.ResumeTiming();
    RefreshKeyboard(bench.Input());
    BeginMouseFrame(bench.Input());
    ReadMouse(bench.Input(), mouse);
    benchmark::DoNotOptimize(mouse);
  }
  state.counters["events_per_frame"] = burst;
}
BENCHMARK(BM_FrameInputSteps)->Arg(0)->Arg(17)->Arg(100);

// A mouse command later in the same frame: the measured motion is repeated.
void BM_MouseReadWithinFrame(benchmark::State& state) {
  InputBench bench(0);
  if (!bench.Ready()) {
    state.SkipWithError("no offscreen window");
    return;
  }
  MouseState mouse;
  ReadMouse(bench.Input(), mouse);
  for (auto _ : state) {
    ReadMouse(bench.Input(), mouse);
    benchmark::DoNotOptimize(mouse);
  }
}
BENCHMARK(BM_MouseReadWithinFrame);

void BM_JoystickRead(benchmark::State& state) {
  InputBench bench(1);
  if (!bench.Ready()) {
    state.SkipWithError("no virtual joystick");
    return;
  }
  JoystickState joystick;
  for (auto _ : state) {
    ReadJoystick(bench.Input(), 0, joystick);
    benchmark::DoNotOptimize(joystick);
  }
}
BENCHMARK(BM_JoystickRead);

// One idle-wait pass that finds nothing: every key, the mouse and ten joysticks looked at.
void BM_IdleActivityCheckTenJoysticks(benchmark::State& state) {
  InputBench bench(10);
  if (!bench.Ready()) {
    state.SkipWithError("no virtual joysticks");
    return;
  }
  InputManager& input = bench.Input();
  input.mouseX = 0;
  input.mouseY = 0;
  for (auto _ : state) {
    RefreshKeyboard(input);
    BeginMouseFrame(input);
    benchmark::DoNotOptimize(InputEndsIdleWait(input, 640, 480));
  }
}
BENCHMARK(BM_IdleActivityCheckTenJoysticks);

}  // namespace
