#include "gfx2d/batch_set_ups.h"

#include "gfx2d/drawing_state.h"
#include "video/exact_texel_sampling.h"
#include "video/renderer.h"

namespace {

GLuint PlainTexture(const OpenGLDiveduva& renderer, int slot) {
  return renderer.textures.slots[static_cast<std::size_t>(slot)].texture;
}

void CloseMirrored(OpenGLDiveduva&) { glFrontFace(GL_CCW); }

void CloseBackground(OpenGLDiveduva&) { glEnable(GL_ALPHA_TEST); }

void CloseSolid(OpenGLDiveduva& renderer) {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  const float alpha = renderer.currentAlpha;
  glColor4f(alpha, alpha, alpha, alpha);
  glEnable(GL_ALPHA_TEST);
  const Drawing2DState& state = renderer.drawing2D;
  BindSpriteTexture(renderer, state.currentSlot, state.secondSlot, state.useMip);
}

void ClosePolygon(OpenGLDiveduva& renderer) {
  glShadeModel(GL_FLAT);
  glEnable(GL_TEXTURE_2D);
  const float alpha = renderer.currentAlpha;
  glColor4f(alpha, alpha, alpha, alpha);
  glDisable(GL_DITHER);
  glDisable(GL_COLOR_MATERIAL);
}

// Sets the filters of the run's texture, bound to unit 0, up for a run under key: nearest
// for quads drawn one texel per pixel, the texture's own for other textured runs.
void SetSampling(OpenGLDiveduva& renderer, const BatchKey& key) {
  if (key.setUp == kExactTexelSetUp || key.setUp == kBackgroundSetUp) {
    SampleExactTexels(renderer, key.texture);
  } else if (key.texture != 0) {
    SampleFiltered(renderer, key.texture);
  }
}

// Continues the open run when its key is key, else closes it, calls setUp and opens one.
template <typename SetUpStep>
float* Append(OpenGLDiveduva& renderer, const BatchKey& key, int count, BatchCloseStep close, SetUpStep setUp) {
  QuadBatch& batch = renderer.batch;
  if (!ContinueBatch(batch, key)) {
    CloseBatchRun(renderer);
    setUp();
    SetSampling(renderer, key);
    OpenBatch(renderer, key, close);
  }
  return AppendBatchVertices(renderer, batch, count);
}

}  // namespace

float* OpenSpriteRun(OpenGLDiveduva& renderer, QuadBatch& batch, const BatchKey& key, int slot, int count) {
  const bool mirrored = key.setUp == kMirroredSpriteSetUp;
  CloseBatchRun(renderer);
  BindSpriteTexture(renderer, slot, -1, false);
  SetSampling(renderer, key);
  // A quad mirrored on one axis turns its back to the viewer; switching the front face
  // for it keeps culling from hiding it.
  if (mirrored) glFrontFace(GL_CW);
  OpenBatch(renderer, key, mirrored ? &CloseMirrored : nullptr);
  return AppendBatchVertices(renderer, batch, count);
}

float* AppendGlyphQuads(OpenGLDiveduva& renderer, int slot, int count) {
  const BatchKey key{BatchPrimitive::kQuads, BatchFormat::kTextured, kSpriteSetUp, PlainTexture(renderer, slot)};
  QuadBatch& batch = renderer.batch;
  if (ContinueBatch(batch, key)) return AppendBatchVertices(renderer, batch, count);
  return OpenSpriteRun(renderer, batch, key, slot, count);
}

float* AppendBackgroundQuad(OpenGLDiveduva& renderer, GLuint texture) {
  const BatchKey key{BatchPrimitive::kQuads, BatchFormat::kTextured, kBackgroundSetUp, texture};
  return Append(renderer, key, 4, &CloseBackground, [&] {
    glDisable(GL_ALPHA_TEST);
    DisableSecondUnit(renderer);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
  });
}

float* AppendSolidVertices(OpenGLDiveduva& renderer, BatchPrimitive primitive, int count) {
  const BatchKey key{primitive, BatchFormat::kColoured, kSolidSetUp, 0};
  return Append(renderer, key, count, &CloseSolid, [] {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
  });
}

float* AppendPolygonVertices(OpenGLDiveduva& renderer, int slot, int count) {
  const bool textured = slot >= 0;
  const BatchKey key{BatchPrimitive::kFans, BatchFormat::kColoured,
                     textured ? kTexturedPolygonSetUp : kUntexturedPolygonSetUp,
                     textured ? PlainTexture(renderer, slot) : 0};
  float* at = Append(renderer, key, count, &ClosePolygon, [&] {
    BindSpriteTexture(renderer, slot, -1, false);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
  });
  MarkBatchFan(renderer.batch, count);
  return at;
}
