#include "gfx2d/solid_drawing.h"

#include <algorithm>
#include <cmath>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/batch_set_ups.h"
#include "video/renderer.h"

namespace {

// The colour of a solid primitive: the packed colour scaled by the current alpha, the
// sprite key drawn with alpha 0. Each component takes the byte steps GL gives bytes.
struct SolidColour {
  float rgba[4];
};

SolidColour SolidColourOf(const OpenGLDiveduva& renderer, double colour) {
  const std::int32_t packed = TruncateToInt32(colour);
  const float alpha = renderer.currentAlpha;
  const auto component = [&](int shift) {
    return static_cast<float>(static_cast<std::uint8_t>(static_cast<float>((packed >> shift) & 0xFF) * alpha)) / 255.0f;
  };
  const std::uint8_t opacity = packed == renderer.textures.spriteKey ? 0 : static_cast<std::uint8_t>(alpha * 255);
  return SolidColour{{component(0), component(8), component(16), static_cast<float>(opacity) / 255.0f}};
}

OpenGLDiveduva* DrawingRenderer() {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  return renderer != nullptr && renderer->context != nullptr ? renderer : nullptr;
}

float Coordinate(double value) { return static_cast<float>(value); }

}  // namespace

void SetAlphaMode(double value) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  FlushQuadBatch(*renderer);
  if (value < 0) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  } else if (value > 0) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
  } else {
    glDisable(GL_BLEND);
    value = 1;
  }
  const float alpha = static_cast<float>(std::min(std::fabs(value), 1.0));
  renderer->currentAlpha = alpha;
  glColor4f(alpha, alpha, alpha, alpha);
}

void SetPixel(double x, double y, double colour) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  const SolidColour solid = SolidColourOf(*renderer, colour);
  float* at = AppendSolidVertices(*renderer, BatchPrimitive::kPoints, 1);
  PutColouredVertex(at, Coordinate(x), -(Coordinate(y) + 1), 0, 0, solid.rgba);
  EndBatchedCommand(*renderer, renderer->batch);
}

void DrawLine(double x1, double y1, double x2, double y2, double colour) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  const SolidColour solid = SolidColourOf(*renderer, colour);
  float* at = AppendSolidVertices(*renderer, BatchPrimitive::kLines, 2);
  at = PutColouredVertex(at, Coordinate(x1), -(Coordinate(y1) + 1), 0, 0, solid.rgba);
  PutColouredVertex(at, Coordinate(x2), -(Coordinate(y2) + 1), 0, 0, solid.rgba);
  // Lines leave out their last pixel; a point puts it in.
  at = AppendSolidVertices(*renderer, BatchPrimitive::kPoints, 1);
  PutColouredVertex(at, Coordinate(x2), -(Coordinate(y2) + 1), 0, 0, solid.rgba);
  EndBatchedCommand(*renderer, renderer->batch);
}

void DrawRect(double x1, double y1, double x2, double y2, double colour) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  float left = Coordinate(x1), right = Coordinate(x2), top = Coordinate(y1), bottom = Coordinate(y2);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  right += 1;
  bottom += 1;
  const SolidColour solid = SolidColourOf(*renderer, colour);
  // The fan (left, bottom), (right, bottom), (right, top), (left, top) from its second
  // corner (see BatchPrimitive::kQuads).
  float* at = AppendSolidVertices(*renderer, BatchPrimitive::kQuads, 4);
  at = PutColouredVertex(at, right, -bottom, 0, 0, solid.rgba);
  at = PutColouredVertex(at, right, -top, 0, 0, solid.rgba);
  at = PutColouredVertex(at, left, -top, 0, 0, solid.rgba);
  PutColouredVertex(at, left, -bottom, 0, 0, solid.rgba);
  EndBatchedCommand(*renderer, renderer->batch);
}

double GetPixel(double x, double y) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return 0;
  CloseBatchRun(*renderer);  // a read-back samples no texture: switched filters may stay
  GLubyte rgb[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_FRONT);
  glReadPixels(TruncateToInt32(x), renderer->surfaceHeight - 1 - TruncateToInt32(y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE,
               rgb);
  glReadBuffer(GL_BACK);
  return rgb[0] + rgb[1] * 256.0 + rgb[2] * 65536.0;
}
