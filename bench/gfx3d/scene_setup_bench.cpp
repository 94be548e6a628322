// The cost of one frame's scene set-up: camera, position, eight lights of every kind,
// fog, and 100 objects placed with push, translate, rotate and pop on the transform
// stack. GL state calls only; nothing is drawn.
//
// Run with SDL_VIDEODRIVER=offscreen for a headless figure.

#include <benchmark/benchmark.h>

#include "gfx3d/engine3d.h"
#include "gfx3d/scene_commands.h"
#include "host/engine_state.h"
#include "host/renderer.h"

namespace {

constexpr int kObjects = 100;

void SceneSetUp(benchmark::State& state) {
  auto* renderer = new OpenGLDiveduva();
  Subsystems().renderer = renderer;
  if (!CreateGameWindow(*renderer, 640, 480, 0, 0, 0)) {
    state.SkipWithError("no GL window");
    return;
  }
  auto* scene = new Diveduva3D(*renderer, false);
  Subsystems().scene = scene;

  int frame = 0;
  for (auto _ : state) {
    SetCamera(1, 500, 60);
    SetCameraPosition(50, 20 + frame % 7, 50, 0, 0, 0);
    for (int light = 0; light < 8; ++light) {
      // Directional, point, spot and from the viewer, twice over.
      const double cutoff[4] = {180, 120, 45, 180};
      const bool fromViewer = light % 4 == 3;
      SetLight(light, 0x808080 + light, fromViewer ? 0 : light, fromViewer ? 0 : 10, 5, fromViewer ? 0 : -1, -1, 0,
               cutoff[light % 4]);
    }
    SetFog(0x404040, 0, 0, 0);
    for (int object = 0; object < kObjects; ++object) {
      PushObjectTransform();
      SetObjectTranslation(object, 0, -object);
      AddObjectRotation(object * 3.6, 0, 1, 0);
      PopObjectTransform();
    }
    ++frame;
  }
  glFinish();
  delete scene;
  Subsystems().scene = nullptr;
  delete renderer;
  Subsystems().renderer = nullptr;
}
BENCHMARK(SceneSetUp)->Unit(benchmark::kMicrosecond);

}  // namespace
