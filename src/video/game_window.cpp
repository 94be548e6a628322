// Creation of the game window and its OpenGL context.

#include "video/game_window.h"

#include <SDL2/SDL_opengl.h>

#include <cstdio>
#include <string>

#include "base/error_log.h"
#include "video/frame_clock.h"
#include "video/frame_heap.h"
#include "video/renderer.h"
#include "video/software_renderer.h"

namespace {

// The title every new game window carries until start-up sets the project's caption.
constexpr const char* kWindowTitle = "Trovane";

// Starts SDL's video once per renderer and loads the GL library for the rest of the
// process, so destroying a window (at a fullscreen switch, or a multisample probe) never
// unloads the library under the context that outlives it.
bool StartVideo(OpenGLDiveduva& renderer) {
  if (renderer.videoStarted) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    LogPlatformFailure("Cannot start the video system");
    return false;
  }
  if (SDL_GL_LoadLibrary(nullptr) != 0) {
    LogPlatformFailure("Cannot load the OpenGL library");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  renderer.videoStarted = true;
  // The screen saver and monitor power-down stay off while the game runs.
  SDL_DisableScreenSaver();
  KeepFrameMemoryInHeap();
  return true;
}

// Buffers of every game window: compatibility profile, 24-bit depth, 8-bit stencil,
// double buffer. A multisampled format also asks for 8 alpha bits on 24 colour bits,
// exactly as the format search asked.
void SetPixelFormatAttributes(int colourDepth, int samples) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  const ColourChannelBits bits = samples > 0 ? ColourChannelBits{} : ChannelBitsForDepth(colourDepth);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, bits.red);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, bits.green);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, bits.blue);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, samples > 0 ? 8 : 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
}

// The engine paces frames by its own clock, so a swap must not wait for the display's
// vertical blank as well: that would hold a game at the display's rate whatever its frame
// rate. The setting belongs to the window, so each new window gets it.
void SwapWithoutWaiting() { SDL_GL_SetSwapInterval(0); }

// Makes the renderer's context current on the new window, or, when the window does not
// accept it, replaces it with a new one (textures of the old context are then gone).
bool AttachContext(OpenGLDiveduva& renderer, SDL_Window* window) {
  if (renderer.context != nullptr) {
    if (SDL_GL_MakeCurrent(window, renderer.context) == 0) {
      SwapWithoutWaiting();
      return true;
    }
    LogError("The OpenGL context does not fit the new window; a new one replaces it");
    SDL_GL_DeleteContext(renderer.context);
    renderer.context = nullptr;
  }
  renderer.context = SDL_GL_CreateContext(window);
  if (renderer.context == nullptr) {
    LogPlatformFailure("Cannot create the OpenGL context");
    return false;
  }
  SwapWithoutWaiting();
  return true;
}

}  // namespace

ColourChannelBits ChannelBitsForDepth(int colourDepth) {
  if (colourDepth == 15) return {5, 5, 5};
  if (colourDepth > 0 && colourDepth <= 16) return {5, 6, 5};
  return {8, 8, 8};
}

int DesktopBitsPerPixel() {
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return 24;
  const int bits = static_cast<int>(SDL_BITSPERPIXEL(desktop.format));
  return bits > 0 ? bits : 24;
}

SDL_Point CentredOnDesktop(int width, int height) {
  SDL_Rect bounds{0, 0, 0, 0};
  SDL_GetDisplayBounds(0, &bounds);
  return {bounds.x + (bounds.w - width) / 2, bounds.y + (bounds.h - height) / 2};
}

void LogPlatformFailure(const char* what) {
  const std::string line = std::string(what) + ": " + SDL_GetError();
  LogError(line.c_str());
  std::fprintf(stderr, "%s\n", line.c_str());
}

int FindMultisampleFormat(int samples) {
  if (samples <= 0) return 0;
  for (int tried = samples; tried != 0; tried /= 2) {
    SetPixelFormatAttributes(24, tried);
    // The platform fixes a window's pixel format when the window is made; a window it
    // cannot make has no format with this many samples.
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe != nullptr) {
      SDL_DestroyWindow(probe);
      return tried;
    }
  }
  return 0;
}

int CreateGameWindow(OpenGLDiveduva& renderer, int width, int height, int colourDepth,
                     int framesPerSecond, int multisampleCount) {
  SetFrameRate(renderer, framesPerSecond);
  if (!StartVideo(renderer)) return 0;

  renderer.multisampleCount = multisampleCount;
  int samples = 0;
  if (multisampleCount != 0) {
    samples = FindMultisampleFormat(multisampleCount);
    if (samples == 0) renderer.multisampleCount = 0;
  }
  const int depth = colourDepth != 0 ? colourDepth : DesktopBitsPerPixel();
  SetPixelFormatAttributes(depth, samples);

  const SDL_Point position = CentredOnDesktop(width, height);
  SDL_Window* window = SDL_CreateWindow(kWindowTitle, position.x, position.y, width > 0 ? width : 1,
                                        height > 0 ? height : 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    LogPlatformFailure("Cannot create the game window");
    return 0;
  }
  if (!AttachContext(renderer, window)) {
    SDL_DestroyWindow(window);
    return 0;
  }
  renderer.window = window;

  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
  renderer.fullscreenActive = 0;
  renderer.colourDepth = depth;
  renderer.surfaceWidth = width > 0 ? width : drawableWidth;
  renderer.surfaceHeight = height > 0 ? height : drawableHeight;

  CheckSoftwareRendering(renderer);
  renderer.nextFrameTime = ReadClock();
  LoadExtensionEntryPoints(renderer.extensions);

  SDL_ShowWindow(window);
  SetViewport2D(renderer, 0, 0, 0, 0);
  renderer.glReady = 1;
  return 1;
}
