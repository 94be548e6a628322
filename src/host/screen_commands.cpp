#include "host/screen_commands.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdint>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "host/frame_present.h"
#include "host/window_change.h"
#include "video/display_mode.h"
#include "video/renderer.h"

namespace {

// The frames shown after a mode switch, so the display has settled when the game goes on.
constexpr int kSettleFrames = 5;

}  // namespace

void SetScreenMode(double width, double height, double fullscreen) {
  EngineState& engine = Engine();
  engine.screenWidth = TruncateToInt32Or(width, 0);
  engine.screenHeight = TruncateToInt32Or(height, 0);
  engine.fullscreen = TruncateToInt32Or(fullscreen, 0);
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;

  ChangeScreenMode(*renderer, engine.screenWidth, engine.screenHeight, 0, engine.fullscreen);
  // A switch to fullscreen replaces the window: everyone holding it is told here.
  GameWindowChanged(renderer->window);
  for (int frame = 0; frame < kSettleFrames; ++frame) PresentFrame();
}

double IsFullscreen() {
  const OpenGLDiveduva* renderer = Subsystems().renderer;
  return renderer != nullptr && renderer->fullscreenActive ? 1 : 0;
}

double GetMainWindowHandle() {
  SDL_Window* window = Engine().mainWindow;
  if (window == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
#if defined(SDL_VIDEO_DRIVER_X11)
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    return static_cast<double>(static_cast<std::uint32_t>(info.info.x11.window));
  }
#endif
  return SDL_GetWindowID(window);
}
