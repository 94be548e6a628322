#include "host/screen_commands.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdint>

#include "base/engine_state.h"
#include "host/frame_present.h"
#include "input/input_system.h"
#include "sound/sound_system.h"
#include "video/renderer.h"

namespace {

// The frames shown after a mode switch, so the display has settled when the game goes on.
constexpr int kSettleFrames = 5;

// Numbers from the game become integers by truncation toward zero; NaN and values beyond
// the 32-bit range become 0.
std::int32_t TruncateArgument(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
  return static_cast<std::int32_t>(value);
}

}  // namespace

void SetScreenMode(double width, double height, double fullscreen) {
  EngineState& engine = Engine();
  engine.screenWidth = TruncateArgument(width);
  engine.screenHeight = TruncateArgument(height);
  engine.fullscreen = TruncateArgument(fullscreen);
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;

  ChangeScreenMode(*renderer, engine.screenWidth, engine.screenHeight, 0, engine.fullscreen);
  // A switch to fullscreen replaces the window: everyone holding it is told here.
  engine.mainWindow = renderer->window;
  SetInputWindow(renderer->window);
  SetSoundWindow(renderer->window);
  for (int frame = 0; frame < kSettleFrames; ++frame) PresentFrame();
}

double IsFullscreen() {
  const OpenGLDiveduva* renderer = Subsystems().renderer;
  return renderer != nullptr && renderer->fullscreenActive ? 1 : 0;
}

double GetMainWindowHandle() {
  SDL_Window* window = static_cast<SDL_Window*>(Engine().mainWindow);
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
