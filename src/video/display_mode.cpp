// Switching between windowed and fullscreen display modes.

#include "video/display_mode.h"

#include <SDL2/SDL.h>

#include "base/error_log.h"
#include "video/frame_clock.h"
#include "video/game_window.h"
#include "video/renderer.h"

int FindExactDisplayMode(const std::vector<DisplayModeChoice>& modes, int width, int height, int bitsPerPixel) {
  for (std::size_t i = 0; i < modes.size(); ++i) {
    const DisplayModeChoice& mode = modes[i];
    if (mode.width != width || mode.height != height) continue;
    if (bitsPerPixel != 0 && mode.bitsPerPixel != bitsPerPixel) continue;
    return static_cast<int>(i);
  }
  return -1;
}

int ChooseFullscreenMode(const std::vector<DisplayModeChoice>& modes, int width, int height, int colourDepth,
                         int desktopBitsPerPixel) {
  if (colourDepth != 0 && colourDepth != desktopBitsPerPixel) {
    const int withDepth = FindExactDisplayMode(modes, width, height, colourDepth);
    if (withDepth >= 0) return withDepth;
  }
  return FindExactDisplayMode(modes, width, height, 0);
}

namespace {

constexpr const char* kNoFullscreenMode = "No Fullscreen Mode available";

// The modes of the display the window is on (the first display when there is none).
// The desktop's own mode is always among them: some video drivers list no usable mode
// (SDL's offscreen driver lists one of 0 x 0), yet their desktop mode can be set.
std::vector<SDL_DisplayMode> DisplayModes(SDL_Window* window) {
  int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
  if (display < 0) display = 0;
  std::vector<SDL_DisplayMode> modes;
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(display, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
    modes.push_back(desktop);
  }
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(display, i, &mode) == 0 && mode.w > 0 && mode.h > 0) modes.push_back(mode);
  }
  return modes;
}

int RefuseFullscreen(OpenGLDiveduva& renderer) {
  LogError(kNoFullscreenMode);
  EnterWindowed(renderer);
  return 0;
}

}  // namespace

int EnterFullscreen(OpenGLDiveduva& renderer) {
  const std::vector<SDL_DisplayMode> modes = DisplayModes(renderer.window);
  std::vector<DisplayModeChoice> choices;
  for (const SDL_DisplayMode& mode : modes) {
    choices.push_back({mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format))});
  }
  const int chosen = ChooseFullscreenMode(choices, renderer.surfaceWidth, renderer.surfaceHeight,
                                          renderer.colourDepth, DesktopBitsPerPixel());
  if (chosen < 0) return RefuseFullscreen(renderer);

  // Fullscreen always gets a window of its own; the context moves over to it.
  SDL_Window* oldWindow = renderer.window;
  if (!CreateGameWindow(renderer, renderer.surfaceWidth, renderer.surfaceHeight, renderer.colourDepth,
                        FrameRateOfInterval(renderer.frameInterval), renderer.multisampleCount)) {
    return 0;
  }
  if (oldWindow != nullptr) SDL_DestroyWindow(oldWindow);
  SetViewport2D(renderer, 0, 0, 0, 0);

  SDL_SetWindowPosition(renderer.window, 0, 0);
  if (SDL_SetWindowDisplayMode(renderer.window, &modes[static_cast<std::size_t>(chosen)]) != 0 ||
      SDL_SetWindowFullscreen(renderer.window, SDL_WINDOW_FULLSCREEN) != 0) {
    return RefuseFullscreen(renderer);
  }
  SDL_ShowWindow(renderer.window);
  SDL_RaiseWindow(renderer.window);
  renderer.fullscreenActive = 1;
  return 1;
}

int EnterWindowed(OpenGLDiveduva& renderer) {
  SDL_Window* window = renderer.window;
  if (window != nullptr) {
    SDL_Point position{0, 0};
    if (renderer.fullscreenActive) {
      // Leaving fullscreen gives the desktop its own display mode back. A window made
      // for fullscreen has no windowed position of its own yet: centre it.
      SDL_SetWindowFullscreen(window, 0);
      position = CentredOnDesktop(renderer.surfaceWidth, renderer.surfaceHeight);
    } else {
      SDL_GetWindowPosition(window, &position.x, &position.y);
    }
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, renderer.surfaceWidth, renderer.surfaceHeight);
    SDL_SetWindowPosition(window, position.x, position.y);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  }
  SetViewport2D(renderer, 0, 0, 0, 0);
  renderer.fullscreenActive = 0;
  return 1;
}

void ChangeScreenMode(OpenGLDiveduva& renderer, int width, int height, int colourDepth, int fullscreen) {
  if (width > 0) renderer.surfaceWidth = width;
  if (height > 0) renderer.surfaceHeight = height;
  if (colourDepth > 0) renderer.colourDepth = colourDepth;
  if (fullscreen != 0) {
    EnterFullscreen(renderer);
  } else {
    EnterWindowed(renderer);
  }
}

int SuspendDisplay(OpenGLDiveduva& renderer) {
  if (renderer.window != nullptr) {
    if (renderer.fullscreenActive) SDL_SetWindowFullscreen(renderer.window, 0);
    SDL_SetWindowBordered(renderer.window, SDL_FALSE);
    SDL_HideWindow(renderer.window);
  }
  renderer.fullscreenActive = 0;
  return 1;
}
