#include "video/exact_texel_sampling.h"

#include <algorithm>

#include "video/renderer.h"

namespace {

bool IsIdentity(const GLfloat (&matrix)[16]) {
  for (int i = 0; i < 16; ++i) {
    if (matrix[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
  }
  return true;
}

bool MatricesAre2D(const ExactTexelSampling& sampling) {
  GLfloat matrix[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  if (!IsIdentity(matrix)) return false;
  glGetFloatv(GL_TEXTURE_MATRIX, matrix);  // unit 0 is the active unit for 2D drawing
  if (!IsIdentity(matrix)) return false;
  glGetFloatv(GL_PROJECTION_MATRIX, matrix);
  if (!std::equal(matrix, matrix + 16, sampling.projection)) return false;
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  return std::equal(viewport, viewport + 4, sampling.viewport);
}

// The switched list of the current context (a replaced context's names are gone).
std::vector<ExactTexelSampling::Switched>& SwitchedTextures(OpenGLDiveduva& renderer) {
  ExactTexelSampling& sampling = renderer.exactTexels;
  if (sampling.context != renderer.context) {
    sampling.switched.clear();
    sampling.context = renderer.context;
  }
  return sampling.switched;
}

void SetFilters(GLint minFilter, GLint magFilter) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

}  // namespace

void RememberViewport2D(ExactTexelSampling& sampling) {
  glGetFloatv(GL_PROJECTION_MATRIX, sampling.projection);
  glGetIntegerv(GL_VIEWPORT, sampling.viewport);
  sampling.matricesAre2D = false;
}

void SampleExactTexels(OpenGLDiveduva& renderer, GLuint texture) {
  ExactTexelSampling& sampling = renderer.exactTexels;
  if (texture == 0) return;
  if (!sampling.enabled) return;
  if (!sampling.matricesAre2D) sampling.matricesAre2D = MatricesAre2D(sampling);
  if (!sampling.matricesAre2D) {
    SampleFiltered(renderer, texture);
    return;
  }
  std::vector<ExactTexelSampling::Switched>& switched = SwitchedTextures(renderer);
  for (const auto& entry : switched) {
    if (entry.texture == texture) return;
  }
  GLint minFilter = 0, magFilter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  if (minFilter == GL_NEAREST && magFilter == GL_NEAREST) return;  // made so
  SetFilters(GL_NEAREST, GL_NEAREST);
  switched.push_back({texture, minFilter, magFilter});
}

void SampleFiltered(OpenGLDiveduva& renderer, GLuint texture) {
  std::vector<ExactTexelSampling::Switched>& switched = SwitchedTextures(renderer);
  for (auto entry = switched.begin(); entry != switched.end(); ++entry) {
    if (entry->texture != texture) continue;
    SetFilters(entry->minFilter, entry->magFilter);
    switched.erase(entry);
    return;
  }
}

void RestoreTextureFilters(OpenGLDiveduva& renderer) {
  renderer.exactTexels.matricesAre2D = false;
  std::vector<ExactTexelSampling::Switched>& switched = SwitchedTextures(renderer);
  if (switched.empty()) return;
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  for (const auto& entry : switched) {
    glBindTexture(GL_TEXTURE_2D, entry.texture);
    SetFilters(entry.minFilter, entry.magFilter);
  }
  switched.clear();
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}
