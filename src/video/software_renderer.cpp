#include "video/software_renderer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/error_log.h"
#include "video/renderer.h"

bool IsSoftwareRenderer(const std::string& rendererName) {
  std::string name = rendererName;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static constexpr const char* kSoftwareNames[] = {
      "llvmpipe", "softpipe", "swrast", "software rasterizer", "gdi generic",
      "mesa windows gdi driver", "microsoft basic render driver", "swiftshader",
  };
  for (const char* software : kSoftwareNames) {
    if (name.find(software) != std::string::npos) return true;
  }
  return false;
}

bool CanShowMessageBox(const char* videoDriver) {
  if (videoDriver == nullptr) return false;
  return std::strcmp(videoDriver, "offscreen") != 0 && std::strcmp(videoDriver, "dummy") != 0;
}

void CheckSoftwareRendering(OpenGLDiveduva& renderer) {
  if (renderer.softwareWarningShown) return;
  if (renderer.rendererName.empty()) {
    const GLubyte* name = glGetString(GL_RENDERER);
    renderer.rendererName = name ? reinterpret_cast<const char*>(name) : "";
  }
  if (!IsSoftwareRenderer(renderer.rendererName)) {
    LogError(kHardwareLogLine);
    return;
  }
  renderer.softwareWarningShown = true;
  if (CanShowMessageBox(SDL_GetCurrentVideoDriver())) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, kSoftwareWarningCaption, kSoftwareWarningText, nullptr);
  }
  LogError(kSoftwareLogLine);
}
