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

// The context's nearest sampler, made on first use (a replaced context gets a new one).
GLuint NearestSampler(OpenGLDiveduva& renderer) {
  ExactTexelSampling& sampling = renderer.exactTexels;
  if (sampling.sampler != 0 && sampling.samplerContext == renderer.context) return sampling.sampler;
  const GlExtensionEntryPoints& gl = renderer.extensions;
  sampling.sampler = 0;
  gl.glGenSamplers(1, &sampling.sampler);
  gl.glSamplerParameteri(sampling.sampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.glSamplerParameteri(sampling.sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  sampling.samplerContext = renderer.context;
  return sampling.sampler;
}

}  // namespace

void RememberViewport2D(ExactTexelSampling& sampling) {
  glGetFloatv(GL_PROJECTION_MATRIX, sampling.projection);
  glGetIntegerv(GL_VIEWPORT, sampling.viewport);
}

void BindExactTexelSampler(OpenGLDiveduva& renderer) {
  ExactTexelSampling& sampling = renderer.exactTexels;
  // Still bound from the run before: nothing outside the batch touched GL since (it
  // would have flushed, which unbinds), so the matrices are still the 2D ones.
  if (sampling.bound && sampling.samplerContext == renderer.context) return;
  if (!sampling.enabled || renderer.extensions.glBindSampler == nullptr || !MatricesAre2D(sampling)) return;
  renderer.extensions.glBindSampler(0, NearestSampler(renderer));
  sampling.bound = true;
}

void UnbindExactTexelSampler(OpenGLDiveduva& renderer) {
  ExactTexelSampling& sampling = renderer.exactTexels;
  if (!sampling.bound) return;
  renderer.extensions.glBindSampler(0, 0);
  sampling.bound = false;
}
