// The end of every frame: frame clock, pause, end-of-program keys, swap and pacing, and
// the drawing state of the next frame.
//
// PresentFrame runs its steps in a fixed order: the frame clock; the wait while the game
// is paused; the keyboard snapshot and the mouse frame, refreshed before the
// end-of-program keys are read; the swap with pacing to the frame grid; then the drawing
// state of a fresh frame with the background picture redrawn under it.

#include "host/frame_present.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include "base/engine_state.h"
#include "base/program_end.h"
#include "gfx2d/texture_loading.h"
#include "gfx3d/engine3d.h"
#include "gfx3d/shader_programs.h"
#include "gfx3d/shadow_mode.h"
#include "host/end_keys.h"
#include "host/message_pump.h"
#include "input/input_system.h"
#include "sound/music_commands.h"
#include "video/frame_clock.h"
#include "video/renderer.h"

namespace {

// While paused the game stays here; events are still handled ten times a second so the
// window can become active again.
constexpr Uint32 kPausedPumpInterval = 100;

[[noreturn]] void EndProgramFromFrame() {
  EngineState& engine = Engine();
  engine.errorCode = 0;
  engine.errorLine = engine.currentLine;
  EndProgram();
}

void WaitWhilePaused(OpenGLDiveduva& renderer) {
  while (Engine().paused) {
    PumpMessages(renderer);
    if (!Engine().paused) break;
    SDL_Delay(kPausedPumpInterval);
  }
}

void CheckEndOfProgramKeys() {
  if (Engine().escapeEndsProgram && IsEscapeDown()) EndProgramFromFrame();
  // Alt+F4 ends the program whatever escapeEndsProgram says.
  if (IsAltF4Down()) EndProgramFromFrame();
}

}  // namespace

void PresentFrame() {
  EngineState& engine = Engine();
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;
  CloseBatchRun(*renderer);  // textures keep the filters 2D drawing gave them across frames

  engine.previousFrameTime = engine.frameTime;
  engine.frameTime = ReadClock();
  KeepMusicLooping();
  WaitWhilePaused(*renderer);
  RefreshKeyboard();
  BeginMouseFrame();
  BeginTypingFrame();
  CheckEndOfProgramKeys();
  Diveduva3D* scene = Subsystems().scene;
  // A shadow pass left open darkens its shadows into this frame, not the next.
  if (scene != nullptr) SetShadowMode(*scene, false);
  SwapAndPace(*renderer);
  ResetFrameDrawingState(*renderer);
  if (scene != nullptr) {
    scene->textureMipmapping = 0;
    UseShaderProgram(*scene, -1);
  }
}

double SwapAndPace(OpenGLDiveduva& renderer) {
  CloseBatchRun(renderer);
  if (renderer.window != nullptr) SDL_GL_SwapWindow(renderer.window);
  if (renderer.context != nullptr) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // A busy wait: it costs one processor while waiting but starts the frame within the
  // clock's resolution, and the window stays responsive because events are handled
  // inside it.
  const double start = ReadClock();
  double now = start;
  for (;;) {
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      GameWindowProc(renderer, event);
      continue;
    }
    now = ReadClock();
    if (now > renderer.nextFrameTime) break;
  }
  renderer.nextFrameTime = NextFrameSlot(now, renderer.nextFrameTime, renderer.frameInterval);
  return now - start + 1;
}

void ResetFrameDrawingState(OpenGLDiveduva& renderer) {
  renderer.currentAlpha = 1.0f;
  renderer.drawing2D.secondUnitOff = false;  // each frame looks at the texture units afresh
  if (renderer.context != nullptr) {
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    // The background picture lies under everything the next frame draws.
    DrawBackgroundSet(renderer, 0);
  }
  SetViewport2D(renderer, 0, 0, 0, 0);
}
