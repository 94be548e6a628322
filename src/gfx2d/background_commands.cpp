#include "gfx2d/background_commands.h"

#include <string>

#include "base/engine_state.h"
#include "base/host_steps.h"
#include "base/number_truncation.h"
#include "files/archive.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/texture_loading.h"
#include "video/frame_clock.h"
#include "video/renderer.h"

namespace {

constexpr double kFadeMilliseconds = 1500;
constexpr int kGameBackground = 0;
constexpr int kIncomingBackground = 1;

OpenGLDiveduva* DrawingRenderer() {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  return renderer != nullptr && renderer->context != nullptr ? renderer : nullptr;
}

void ClearBackgroundAndScreen(OpenGLDiveduva& renderer) {
  ClearBackgroundSet(renderer, kGameBackground);
  glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

void LoadBackground(const BasicString& fileName) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  std::string path;
  if (ResolveLoaderPath(fileName.TextPointer(), path) && LoadBackgroundSet(*renderer, kGameBackground, path.c_str())) {
    DrawBackgroundSet(*renderer, kGameBackground);
  } else {
    ClearBackgroundAndScreen(*renderer);
  }
}

double FadeInBackground(const BasicString& fileName) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return 0;
  std::string path;
  if (!ResolveLoaderPath(fileName.TextPointer(), path)) return 0;
  CaptureScreenToSet(*renderer, kGameBackground);
  LoadBackgroundSet(*renderer, kIncomingBackground, path.c_str());
  ClearBackgroundAndScreen(*renderer);

  const double start = ReadClock();
  double weight = 0.9;
  while (weight > 0 && weight < 1) {
    SetAlphaMode(-weight);
    DrawBackgroundSet(*renderer, kGameBackground);
    SetAlphaMode(1 - weight);
    DrawBackgroundSet(*renderer, kIncomingBackground);
    RunPresentFrame();
    weight = (start + kFadeMilliseconds - ReadClock()) / kFadeMilliseconds;
  }
  SetAlphaMode(0);
  DrawBackgroundSet(*renderer, kIncomingBackground);
  RunPresentFrame();
  ClearBackgroundSet(*renderer, kIncomingBackground);
  // The picture was resolved once; the path is still the file to read (a plain file, or
  // the archive's temporary file, which lives until the next lookup).
  return LoadBackgroundSet(*renderer, kGameBackground, path.c_str()) ? 1 : 0;
}

void ClearBackground() {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer != nullptr) ClearBackgroundAndScreen(*renderer);
}

void GrabBackground() {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer != nullptr) CaptureScreenToSet(*renderer, kGameBackground);
}

void SetViewport(double x, double y, double width, double height) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;
  SetViewport2D(*renderer, TruncateToInt32(x), TruncateToInt32(y), TruncateToInt32(width), TruncateToInt32(height));
}

void GetScreenSize(double& width, double& height) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  width = renderer != nullptr ? renderer->surfaceWidth : 0;
  height = renderer != nullptr ? renderer->surfaceHeight : 0;
}
