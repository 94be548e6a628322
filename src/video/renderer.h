#pragma once
// The renderer object: the game window, the single OpenGL context, the drawing surface,
// the display mode (windowed or fullscreen) and the frame clock.
//
// One OpenGLDiveduva exists per process; StartEngine creates it and ShutdownEngine
// deletes it, always on the game thread that owns the window and the context. Every
// drawing command reaches the context and the surface size through
// Subsystems().renderer.

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>

#include "video/drawing_2d_state.h"
#include "video/exact_texel_sampling.h"
#include "video/gl_extensions.h"
#include "video/quad_batch.h"
#include "video/texture_store.h"

class OpenGLDiveduva {
 public:
  OpenGLDiveduva();
  // ReleaseRenderer, then the context is deleted.
  virtual ~OpenGLDiveduva();
  OpenGLDiveduva(const OpenGLDiveduva&) = delete;
  OpenGLDiveduva& operator=(const OpenGLDiveduva&) = delete;

  // The texture slots, colour keys and background picture sets of the 2D drawing code;
  // ReleaseRenderer empties them first.
  TextureStore textures;
  Drawing2DState drawing2D;  // texture binding and polygon of the 2D commands
  QuadBatch batch;           // 2D primitives not yet drawn (see quad_batch.h)
  ExactTexelSampling exactTexels;  // nearest sampling of quads drawn one texel per pixel

  float currentAlpha = 1.0f;  // transparency of 2D drawing, reset to 1 each frame

  SDL_Window* window = nullptr;    // the game window, null when none
  std::int32_t surfaceWidth = 0;   // drawing surface in pixels
  std::int32_t surfaceHeight = 0;
  std::int32_t colourDepth = 0;    // bits per pixel asked for; 0 = the desktop's
  std::uint8_t fullscreenActive = 0;
  std::int32_t multisampleCount = 0;  // samples per pixel asked for; 0 when off or none found
  // The current 2D viewport in surface pixels, origin top left.
  std::int32_t viewportX = 0;
  std::int32_t viewportY = 0;
  std::int32_t viewportWidth = 0;
  std::int32_t viewportHeight = 0;
  std::uint8_t glReady = 0;  // 1 once a context exists; GL names are deleted only then

  // Frame clock (see frame_clock.h).
  double nextFrameTime = 0;        // ms: the clock value at which the next frame may show
  double frameInterval = 0;        // ms: 1000 / frame rate, 2.0 when the rate is 0 or less
  double counterFrequency = 0;     // performance counter ticks per second
  std::int32_t hasPerformanceCounter = 0;

  SDL_GLContext context = nullptr;  // the one GL context, kept across window re-creation

  GlExtensionEntryPoints extensions;  // null where the driver lacks the extension

  // Once-per-process facts. The renderer lives from start-up to the end of the process,
  // so keeping them here keeps them once per process.
  bool videoStarted = false;           // SDL's video subsystem is initialised
  bool softwareWarningShown = false;   // the software-rendering warning was shown
  std::string rendererName;            // GL_RENDERER, read once
};

// Engine: deletes the engine's renderer (Subsystems().renderer) and clears the pointer: the
// release step every renderer hands down to shutdown when it is made.
void DeleteEngineRenderer();

// Draws the pending 2D batch, then sets the GL viewport, an orthographic projection with
// (0, 0) at the viewport's top left and y growing downwards as -y, and the fixed 2D
// drawing state. A width or height of 0 or less means the whole surface.
void SetViewport2D(OpenGLDiveduva& renderer, int x, int y, int width, int height);
// Stores the surface size, then sets the 2D viewport on the whole surface.
void SetSurfaceSize(OpenGLDiveduva& renderer, int width, int height);
// Empties the texture store and background sets, returns to windowed mode and destroys
// the window. The context stays until the destructor.
void ReleaseRenderer(OpenGLDiveduva& renderer);

// 1 when name is a whole word of the current context's GL extension string, else 0
// (also when there is no current context).
int HasWglExtension(const char* name);
