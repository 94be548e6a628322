#include "gfx2d/polygon_drawing.h"

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/batch_set_ups.h"
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
  const int count = static_cast<int>(state.polygonVertices.size());
  float* at = AppendPolygonVertices(*renderer, state.polygonSlot, count);
  for (const PolygonVertex& vertex : state.polygonVertices) {
    const float colour[4] = {vertex.red, vertex.green, vertex.blue, vertex.alpha};
    at = PutColouredVertex(at, vertex.x, vertex.y, vertex.u, vertex.v, colour);
  }
  EndBatchedCommand(*renderer, renderer->batch);
}
