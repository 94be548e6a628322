// Sprites per second: 10,000 sprites of 32 x 32 per frame, 200 frames, no pacing, beside
// the same scene drawn by SDL's own 2D renderer (OpenGL driver, batching on) on the same
// GL implementation and beside the limit of one draw call per frame (the frame's quads
// prepared once in the 2D batch's vertex layout). Each is measured as is and with
// GL_RASTERIZER_DISCARD, which leaves only the cost of submitting the sprites. The
// engine runs with its 2D batch on and, for comparison, off (one draw call per sprite).
//
// Run with SDL_VIDEODRIVER=offscreen for a headless software figure, or on a display for
// the machine's GPU.

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/engine_state.h"
#include "gfx2d/sprite_drawing.h"
#include "gfx2d/texture_commands.h"
#include "gfx2d/texture_loading.h"
#include "host/frame_present.h"
#include "video/game_window.h"
#include "video/renderer.h"

namespace {

constexpr int kSpritesPerFrame = 10000;
constexpr int kFrames = 200;
constexpr int kSpriteSide = 32;
constexpr GLenum kRasterizerDiscard = 0x8C89;  // GL 3.0 / EXT_transform_feedback

float SpriteX(int i) { return static_cast<float>((i * 37) % (640 - kSpriteSide)); }
float SpriteY(int i) { return static_cast<float>((i * 53) % (480 - kSpriteSide)); }

// Draws kFrames frames per iteration (draw(frame), then present()), with the rasterizer
// discarding when asked, and reports sprites per second.
template <typename Draw, typename Present>
void RunFrames(benchmark::State& state, bool discard, Draw draw, Present present) {
  if (discard) glEnable(kRasterizerDiscard);
  for (auto _ : state) {
    for (int frame = 0; frame < kFrames; ++frame) {
      draw(frame);
      present();
    }
    glFinish();
  }
  if (discard) glDisable(kRasterizerDiscard);
  state.counters["sprites_per_s"] = benchmark::Counter(static_cast<double>(kSpritesPerFrame) * kFrames,
                                                       benchmark::Counter::kIsIterationInvariantRate);
}

OpenGLDiveduva* OpenSpriteRenderer(benchmark::State& state) {
  auto* renderer = new OpenGLDiveduva();
  Subsystems().renderer = renderer;
  if (!CreateGameWindow(*renderer, 640, 480, 0, 0, 0)) {
    state.SkipWithError("no GL window");
    return nullptr;
  }
  renderer->frameInterval = 0;
  // A 32 x 32 sprite made in memory, uploaded as the loaders do.
  ImageBuffer image;
  image.width = image.height = kSpriteSide;
  image.pixels.assign(kSpriteSide * kSpriteSide * 4, 200);
  TextureSlot& slot = renderer->textures.slots[0];
  UploadImage(image, 0, 0, 0, 0, &slot.texture, &slot.mipTexture, false, false);
  slot.paddedWidth = slot.paddedHeight = slot.imageWidth = slot.imageHeight = kSpriteSide;
  return renderer;
}

void CloseSpriteRenderer(OpenGLDiveduva* renderer) {
  delete renderer;
  Subsystems().renderer = nullptr;
}

void EngineSprites(benchmark::State& state, bool discard, bool batching) {
  OpenGLDiveduva* renderer = OpenSpriteRenderer(state);
  if (renderer == nullptr) return;
  renderer->batch.enabled = batching;
  RunFrames(
      state, discard,
      [](int frame) {
        for (int i = 0; i < kSpritesPerFrame; ++i) DrawSprite(0, SpriteX(i + frame), SpriteY(i));
      },
      [renderer] {
        FlushQuadBatch(*renderer);  // as the frame's present does
        SDL_GL_SwapWindow(renderer->window);
      });
  CloseSpriteRenderer(renderer);
}

// The frame's quads in the batch's layout (x, y, z, u, v) and corner order, drawn with one
// call as the batch draws its runs.
void OneDrawCallSprites(benchmark::State& state, bool discard) {
  OpenGLDiveduva* renderer = OpenSpriteRenderer(state);
  if (renderer == nullptr) return;
  std::vector<float> vertices;
  for (int i = 0; i < kSpritesPerFrame; ++i) {
    const float left = SpriteX(i), top = SpriteY(i), side = kSpriteSide;
    const float corners[4][4] = {{left + side, -top - side, 1, 0}, {left + side, -top, 1, 1}, {left, -top, 0, 1},
                                 {left, -top - side, 0, 0}};
    for (const auto& corner : corners) vertices.insert(vertices.end(), {corner[0], corner[1], 0, corner[2], corner[3]});
  }
  glBindTexture(GL_TEXTURE_2D, renderer->textures.slots[0].texture);
  RunFrames(
      state, discard,
      [&vertices](int) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 5 * sizeof(float), vertices.data());
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 5 * sizeof(float), vertices.data() + 3);
        glDrawArrays(GL_QUADS, 0, kSpritesPerFrame * 4);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
      },
      [renderer] { SDL_GL_SwapWindow(renderer->window); });
  CloseSpriteRenderer(renderer);
}

void SdlRendererSprites(benchmark::State& state, bool discard) {
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError("no video");
    return;
  }
  SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 640, 480, SDL_WINDOW_OPENGL);
  SDL_Renderer* sdlRenderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (sdlRenderer == nullptr) {
    state.SkipWithError(SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    return;
  }
  SDL_Texture* texture = SDL_CreateTexture(sdlRenderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, kSpriteSide,
                                           kSpriteSide);
  std::string pixels(kSpriteSide * kSpriteSide * 4, static_cast<char>(200));
  SDL_UpdateTexture(texture, nullptr, pixels.data(), kSpriteSide * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_RenderFlush(sdlRenderer);  // its set-up reaches GL before the rasterizer discards
  RunFrames(
      state, discard,
      [sdlRenderer, texture](int frame) {
        SDL_RenderClear(sdlRenderer);
        for (int i = 0; i < kSpritesPerFrame; ++i) {
          const SDL_FRect target{SpriteX(i + frame), SpriteY(i), kSpriteSide, kSpriteSide};
          SDL_RenderCopyF(sdlRenderer, texture, nullptr, &target);
        }
      },
      [sdlRenderer] { SDL_RenderPresent(sdlRenderer); });
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(sdlRenderer);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

BENCHMARK_CAPTURE(EngineSprites, drawn, false, true)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(SdlRendererSprites, drawn, false)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneDrawCallSprites, drawn, false)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(EngineSprites, rasterizer_discard, true, true)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(EngineSprites, rasterizer_discard_unbatched, true, false)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(SdlRendererSprites, rasterizer_discard, true)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(OneDrawCallSprites, rasterizer_discard, true)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
