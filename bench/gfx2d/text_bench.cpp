// Bitmap-font text: characters per second for screens full of text (60 lines of 80
// characters per frame, 100 frames, no pacing), measured as is and with
// GL_RASTERIZER_DISCARD, which leaves only the cost of submitting the quads; and the
// cost of generating the built-in font, alone and uploaded into its slot.
//
// Run with SDL_VIDEODRIVER=offscreen for a headless software figure, or on a display for
// the machine's GPU.

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <string>

#include "base/engine_state.h"
#include "gfx2d/builtin_font.h"
#include "gfx2d/font_commands.h"
#include "video/game_window.h"
#include "video/renderer.h"

namespace {

constexpr int kLinesPerFrame = 60;
constexpr int kLineLength = 80;
constexpr int kFrames = 100;
constexpr GLenum kRasterizerDiscard = 0x8C89;  // GL 3.0 / EXT_transform_feedback

OpenGLDiveduva* OpenRenderer(benchmark::State& state) {
  auto* renderer = new OpenGLDiveduva();
  Subsystems().renderer = renderer;
  if (!CreateGameWindow(*renderer, 640, 480, 0, 0, 0)) {
    state.SkipWithError("no GL window");
    return nullptr;
  }
  renderer->frameInterval = 0;
  return renderer;
}

void CloseRenderer(OpenGLDiveduva* renderer) {
  delete renderer;
  Subsystems().renderer = nullptr;
}

void PrintScreens(benchmark::State& state, bool discard) {
  OpenGLDiveduva* renderer = OpenRenderer(state);
  if (renderer == nullptr) return;
  LoadFont("", 0);
  std::string line;
  for (int i = 0; i < kLineLength; ++i) line += static_cast<char>(' ' + (i * 7) % 95);
  const BasicString text(line);
  if (discard) glEnable(kRasterizerDiscard);
  for (auto _ : state) {
    for (int frame = 0; frame < kFrames; ++frame) {
      for (int row = 0; row < kLinesPerFrame; ++row) PrintText(text, 0, row * 8);
      FlushQuadBatch(*renderer);  // as the frame's present does
      SDL_GL_SwapWindow(renderer->window);
    }
    glFinish();
  }
  if (discard) glDisable(kRasterizerDiscard);
  state.counters["chars_per_s"] = benchmark::Counter(static_cast<double>(kLinesPerFrame) * kLineLength * kFrames,
                                                     benchmark::Counter::kIsIterationInvariantRate);
  CloseRenderer(renderer);
}

void BM_PrintTextScreens(benchmark::State& state) { PrintScreens(state, false); }
void BM_PrintTextSubmitOnly(benchmark::State& state) { PrintScreens(state, true); }

void BM_BuildBuiltinFont(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildBuiltinFontImage());
}

void BM_LoadBuiltinFont(benchmark::State& state) {
  OpenGLDiveduva* renderer = OpenRenderer(state);
  if (renderer == nullptr) return;
  for (auto _ : state) {
    LoadFont("", 0);
    glFinish();
  }
  CloseRenderer(renderer);
}

BENCHMARK(BM_PrintTextScreens)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintTextSubmitOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildBuiltinFont)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadBuiltinFont)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
