#include "video/quad_batch.h"

#include <SDL2/SDL_opengl.h>

#include "base/engine_state.h"
#include "base/error_log.h"
#include "video/renderer.h"

namespace {

void DrawRun(OpenGLDiveduva& renderer, QuadBatch& batch) {
  const GLsizei stride = static_cast<GLsizei>(batch.floatsPerVertex * sizeof(float));
  const float* data = batch.vertices.data();
  const GLsizei vertexCount = BatchVertexCount(batch);
  if (renderer.extensions.glClientActiveTextureARB != nullptr) {
    renderer.extensions.glClientActiveTextureARB(GL_TEXTURE0_ARB);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, data);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, stride, data + 3);
  const bool coloured = batch.key.format == BatchFormat::kColoured;
  if (coloured) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, stride, data + 5);
  }
  switch (batch.key.primitive) {
    case BatchPrimitive::kQuads:
      // Quads need no index list, and a software rasteriser takes them a good deal faster
      // than the same triangles listed by index.
      glDrawArrays(GL_QUADS, 0, vertexCount);
      break;
    case BatchPrimitive::kFans:
      glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(vertexCount - 1),
                          static_cast<GLsizei>(batch.fanIndices.size()), GL_UNSIGNED_INT, batch.fanIndices.data());
      break;
    case BatchPrimitive::kLines:
      glDrawArrays(GL_LINES, 0, vertexCount);
      break;
    case BatchPrimitive::kPoints:
      glDrawArrays(GL_POINTS, 0, vertexCount);
      break;
  }
  ++batch.drawCalls;
  if (coloured) glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

#ifndef NDEBUG
// The GL state a run depends on, as far as one query each finds it.
void ReadWatchedState(GLint (&state)[kWatchedStateCount]) {
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &state[0]);
  state[1] = glIsEnabled(GL_TEXTURE_2D);
  state[2] = glIsEnabled(GL_BLEND);
  glGetIntegerv(GL_BLEND_SRC, &state[3]);
  glGetIntegerv(GL_BLEND_DST, &state[4]);
  state[5] = glIsEnabled(GL_ALPHA_TEST);
  glGetIntegerv(GL_FRONT_FACE, &state[6]);
  glGetIntegerv(GL_VIEWPORT, &state[7]);  // x, y, width, height
}
#endif

}  // namespace

void OpenBatch(OpenGLDiveduva& renderer, const BatchKey& key, BatchCloseStep closeStep) {
  QuadBatch& batch = renderer.batch;
  batch.open = true;
  batch.key = key;
  batch.closeStep = closeStep;
  batch.floatsPerVertex = key.format == BatchFormat::kColoured ? kColouredFloats : kTexturedFloats;
  batch.floatCount = 0;
  batch.fanIndices.clear();
#ifndef NDEBUG
  ReadWatchedState(batch.watchedState);
#endif
}

void GrowBatch(QuadBatch& batch, std::size_t floats) {
  std::size_t size = batch.vertices.size() < 1024 ? 1024 : batch.vertices.size();
  while (size < floats) size *= 2;
  batch.vertices.resize(size);
}

void MarkBatchFan(QuadBatch& batch, int count) {
  const GLuint first = static_cast<GLuint>(BatchVertexCount(batch) - count);
  for (int corner = 0; corner + 2 < count; ++corner) {
    const GLuint at = first + static_cast<GLuint>(corner);
    batch.fanIndices.insert(batch.fanIndices.end(), {at + 1, at + 2, first});
  }
}

void DrawPendingBatch(OpenGLDiveduva& renderer) {
  QuadBatch& batch = renderer.batch;
  if (batch.floatCount > 0 && renderer.context != nullptr) DrawRun(renderer, batch);
  batch.floatCount = 0;
  batch.fanIndices.clear();
}

void CloseBatchRun(OpenGLDiveduva& renderer) {
  QuadBatch& batch = renderer.batch;
  if (!batch.open) return;
  DrawPendingBatch(renderer);
  batch.open = false;
  if (batch.closeStep != nullptr && renderer.context != nullptr) batch.closeStep(renderer);
}

void FlushQuadBatch(OpenGLDiveduva& renderer) {
  CloseBatchRun(renderer);
  if (renderer.context != nullptr) RestoreTextureFilters(renderer);
}

void FlushEngineQuadBatch() {
  if (OpenGLDiveduva* renderer = Subsystems().renderer) FlushQuadBatch(*renderer);
}

void FinishBatchedCommand(OpenGLDiveduva& renderer) {
  QuadBatch& batch = renderer.batch;
  if (!batch.enabled) {
    CloseBatchRun(renderer);
    return;
  }
#ifndef NDEBUG
  if (batch.open && !batch.reportedChange) {
    GLint now[kWatchedStateCount] = {};
    ReadWatchedState(now);
    for (int i = 0; i < kWatchedStateCount; ++i) {
      if (now[i] == batch.watchedState[i]) continue;
      LogError("2D batch: GL state changed behind the batch's back (a GL user did not flush first)");
      batch.reportedChange = true;
      break;
    }
  }
#endif
}
