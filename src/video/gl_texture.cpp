#include "video/gl_texture.h"

#include <SDL2/SDL_video.h>

#include <utility>

GlTexture::GlTexture(GlTexture&& other) noexcept : name_(std::exchange(other.name_, 0)) {}

GlTexture& GlTexture::operator=(GlTexture&& other) noexcept {
  if (this != &other) {
    Reset();
    name_ = std::exchange(other.name_, 0);
  }
  return *this;
}

GLuint GlTexture::Create() {
  Reset();
  if (SDL_GL_GetCurrentContext() != nullptr) glGenTextures(1, &name_);
  return name_;
}

void GlTexture::Reset() {
  if (name_ != 0 && SDL_GL_GetCurrentContext() != nullptr) glDeleteTextures(1, &name_);
  name_ = 0;
}

GLuint GlTexture::Release() { return std::exchange(name_, 0); }
