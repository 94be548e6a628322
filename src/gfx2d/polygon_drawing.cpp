#include "gfx2d/polygon_drawing.h"

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/drawing_state.h"
#include "video/renderer.h"

namespace {

constexpr std::size_t kInitialVertices = 8;
constexpr std::size_t kFirstGrowth = 512;
constexpr std::size_t kGrowthStep = 128;

}  // namespace

void StartPolygon(double slot) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;
  Drawing2DState& state = renderer->drawing2D;
  const long long number = TruncateToInt64(slot);
  state.polygonSlot = TextureStore::IsValidSlot(number) ? static_cast<int>(number) : -1;
  if (state.polygonVertices.capacity() < kInitialVertices + 1) state.polygonVertices.reserve(kInitialVertices);
  state.polygonVertices.clear();
}

void AddPolygonVertex(double x, double y, double u, double v, double colour) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) return;
  Drawing2DState& state = renderer->drawing2D;
  std::vector<PolygonVertex>& vertices = state.polygonVertices;
  if (vertices.size() == vertices.capacity()) {
    vertices.reserve(vertices.capacity() + (vertices.capacity() == 0 ? kFirstGrowth : kGrowthStep));
  }
  PolygonVertex vertex{};
  vertex.x = static_cast<float>(x);
  vertex.y = static_cast<float>(-y);
  if (state.polygonSlot >= 0) {
    const TextureSlot& slot = renderer->textures.slots[static_cast<std::size_t>(state.polygonSlot)];
    if (slot.paddedWidth > 0 && slot.paddedHeight > 0) {
      vertex.u = static_cast<float>(u / slot.paddedWidth);
      vertex.v = static_cast<float>((slot.imageHeight - v) / slot.paddedHeight);
    }
  }
  const std::int32_t packed = TruncateToInt32(colour);
  const float alpha = renderer->currentAlpha;
  vertex.red = static_cast<float>(packed & 0xFF) / 255.0f * alpha;
  vertex.green = static_cast<float>((packed >> 8) & 0xFF) / 255.0f * alpha;
  vertex.blue = static_cast<float>((packed >> 16) & 0xFF) / 255.0f * alpha;
  vertex.alpha = packed == renderer->textures.spriteKey ? 0.0f : 1.0f;
  vertices.push_back(vertex);
}

void EndPolygon() {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr || renderer->context == nullptr) return;
  Drawing2DState& state = renderer->drawing2D;
  if (state.polygonVertices.empty()) return;
  const bool textured = state.polygonSlot >= 0;
  BindSpriteTexture(*renderer, state.polygonSlot, -1, false);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DITHER);
  glShadeModel(GL_SMOOTH);

  const PolygonVertex* first = state.polygonVertices.data();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(PolygonVertex), &first->x);
  if (textured) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonVertex), &first->u);
  }
  glEnableClientState(GL_COLOR_ARRAY);
  glColorPointer(4, GL_FLOAT, sizeof(PolygonVertex), &first->red);
  glDrawArrays(GL_TRIANGLE_FAN, 0, static_cast<GLsizei>(state.polygonVertices.size()));
  glDisableClientState(GL_COLOR_ARRAY);
  if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);

  glShadeModel(GL_FLAT);
  glEnable(GL_TEXTURE_2D);
  const float alpha = renderer->currentAlpha;
  glColor4f(alpha, alpha, alpha, alpha);
  glDisable(GL_DITHER);
  glDisable(GL_COLOR_MATERIAL);
}
