#include "video/renderer.h"

#include <SDL2/SDL_opengl.h>

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "video/display_mode.h"
#include "video/frame_clock.h"

OpenGLDiveduva::OpenGLDiveduva() {
  const std::uint64_t frequency = SDL_GetPerformanceFrequency();
  hasPerformanceCounter = frequency > 0 ? 1 : 0;
  counterFrequency = static_cast<double>(frequency);
  nextFrameTime = ReadClock();
  SetReleaseStep(ReleaseStep::kRenderer, &DeleteEngineRenderer);
}

void DeleteEngineRenderer() {
  EngineSubsystems& subsystems = Subsystems();
  delete subsystems.renderer;
  subsystems.renderer = nullptr;
}

OpenGLDiveduva::~OpenGLDiveduva() {
  ReleaseRenderer(*this);
  if (context != nullptr) {
    SDL_GL_DeleteContext(context);
    context = nullptr;
  }
  glReady = 0;
  // SDL's video and the GL library stay loaded until the process ends, which follows the
  // renderer's end at once: Mesa frees nothing when its driver is unloaded, so unloading
  // it would only turn the driver's memory into leaks.
}

void ReleaseRenderer(OpenGLDiveduva& renderer) {
  // The texture store and the background sets are emptied here, before the window goes.
  if (renderer.glReady && renderer.window != nullptr && renderer.context != nullptr) {
    SDL_GL_MakeCurrent(renderer.window, renderer.context);
    FlushQuadBatch(renderer);
    ReleaseTextureStore(renderer);
  }
  if (renderer.window == nullptr) {
    renderer.surfaceWidth = 0;
    renderer.surfaceHeight = 0;
    return;
  }
  // Leaving fullscreen gives the desktop its display mode back.
  if (renderer.fullscreenActive) EnterWindowed(renderer);
  SDL_GL_MakeCurrent(renderer.window, nullptr);
  SDL_DestroyWindow(renderer.window);
  renderer.window = nullptr;
  renderer.surfaceWidth = 0;
  renderer.surfaceHeight = 0;
}

void SetViewport2D(OpenGLDiveduva& renderer, int x, int y, int width, int height) {
  FlushQuadBatch(renderer);
  if (width <= 0 || height <= 0) {
    x = 0;
    y = 0;
    width = renderer.surfaceWidth;
    height = renderer.surfaceHeight;
  }
  renderer.viewportX = x;
  renderer.viewportY = y;
  renderer.viewportWidth = width;
  renderer.viewportHeight = height;
  if (renderer.context == nullptr) return;

  // GL counts rows from the bottom, the engine from the top.
  glViewport(x, renderer.surfaceHeight - height - y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // y runs from 0 at the top edge down to -height: 2D drawing passes y negated.
  glOrtho(0, width, -height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  RememberViewport2D(renderer.exactTexels);

  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.15f);
  glColor4f(1, 1, 1, 1);
  glClearColor(0, 0, 0, 1);
  glShadeModel(GL_FLAT);
  for (GLenum capability : {GL_DITHER, GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH,
                            GL_STENCIL_TEST, GL_POLYGON_OFFSET_POINT, GL_COLOR_MATERIAL, GL_AUTO_NORMAL,
                            GL_NORMALIZE, GL_LIGHTING}) {
    glDisable(capability);
  }
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

void SetSurfaceSize(OpenGLDiveduva& renderer, int width, int height) {
  renderer.surfaceWidth = width;
  renderer.surfaceHeight = height;
  SetViewport2D(renderer, 0, 0, 0, 0);
}

int HasWglExtension(const char* name) {
  if (SDL_GL_GetCurrentContext() == nullptr) return 0;
  return HasExtensionWord(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name) ? 1 : 0;
}
