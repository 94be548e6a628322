#include "gfx2d/text_drawing.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "base/engine_state.h"
#include "gfx2d/batch_set_ups.h"
#include "gfx2d/drawing_state.h"
#include "gfx2d/font_store.h"
#include "video/renderer.h"

namespace {

OpenGLDiveduva* DrawingRenderer() {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  return renderer != nullptr && renderer->context != nullptr ? renderer : nullptr;
}

bool IsFontNumber(int font) { return font >= 0 && font < kFontCount; }

// Turns face culling off while it lives, when it was on.
class CullingPause {
 public:
  CullingPause() : wasOn_(glIsEnabled(GL_CULL_FACE) == GL_TRUE) {
    if (wasOn_) glDisable(GL_CULL_FACE);
  }
  ~CullingPause() {
    if (wasOn_) glEnable(GL_CULL_FACE);
  }
  CullingPause(const CullingPause&) = delete;
  CullingPause& operator=(const CullingPause&) = delete;

 private:
  bool wasOn_;
};

// Text standing in the scene: each cell spans right (one cell along the camera's right
// direction) and up; the first cell's lower-left corner is origin.
void DrawStandingText(const FontGrid& grid, const char* text, const float origin[3], const float right[3],
                      const float up[3]) {
  float corner[3] = {origin[0], origin[1], origin[2]};
  glBegin(GL_QUADS);
  for (const char* at = text; *at != '\0'; ++at) {
    const FontCell cell = FontCellOf(grid, static_cast<std::uint8_t>(*at));
    glTexCoord2f(cell.u, cell.v);
    glVertex3f(corner[0], corner[1], corner[2]);
    glTexCoord2f(cell.u + grid.cellU, cell.v);
    glVertex3f(corner[0] + right[0], corner[1] + right[1], corner[2] + right[2]);
    glTexCoord2f(cell.u + grid.cellU, cell.v + grid.cellV);
    glVertex3f(corner[0] + right[0] + up[0], corner[1] + right[1] + up[1], corner[2] + right[2] + up[2]);
    glTexCoord2f(cell.u, cell.v + grid.cellV);
    glVertex3f(corner[0] + up[0], corner[1] + up[1], corner[2] + up[2]);
    for (int axis = 0; axis < 3; ++axis) corner[axis] += right[axis];
  }
  glEnd();
}

// Column-major 4 x 4 matrix times (x, y, z, 1).
void Transform(const GLdouble m[16], const double in[4], double out[4]) {
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
  }
}

void DrawPinnedText(OpenGLDiveduva& renderer, int font, const char* text, double x, double y, double z) {
  GLdouble modelView[16], projection[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  const double point[4] = {x, y, z, 1};
  double eye[4], clip[4];
  Transform(modelView, point, eye);
  Transform(projection, eye, clip);
  if (clip[3] == 0) return;
  const double ndcX = clip[0] / clip[3], ndcY = clip[1] / clip[3], ndcZ = clip[2] / clip[3];

  const double viewportX = renderer.viewportX, viewportY = renderer.viewportY;
  const double viewportWidth = renderer.viewportWidth, viewportHeight = renderer.viewportHeight;
  const double windowX = (ndcX + 1) * viewportWidth / 2 + viewportX;
  const double fromTop = viewportHeight - ((ndcY + 1) * viewportHeight / 2 + viewportY);

  const FontGrid grid = FontGridOfSlot(renderer, font);
  const double length = static_cast<double>(std::strlen(text));
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, renderer.surfaceWidth, -renderer.surfaceHeight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  DrawText(font, text, windowX - grid.cellWidth * length / 2 - viewportX, fromTop - grid.cellHeight + viewportY,
           -ndcZ);
  FlushQuadBatch(renderer);  // before the matrices and the culling return
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

}  // namespace

void DrawText(int font, const char* text, double x, double y, double z) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr || !IsFontNumber(font) || text == nullptr) return;
  const std::size_t length = std::strlen(text);
  if (length == 0) return;
  const FontGrid grid = FontGridOfSlot(*renderer, font);
  const float width = static_cast<float>(grid.cellWidth), height = static_cast<float>(grid.cellHeight);
  float left = static_cast<float>(std::ceil(x));
  const float top = -static_cast<float>(std::ceil(y));
  const float depth = static_cast<float>(z);
  float* at = AppendGlyphQuads(*renderer, FontSlot(font), static_cast<int>(length * 4));
  for (const char* character = text; *character != '\0'; ++character) {
    const FontCell cell = FontCellOf(grid, static_cast<std::uint8_t>(*character));
    const float u1 = cell.u + grid.cellU, v1 = cell.v + grid.cellV;
    at = PutTexturedVertex(at, left, top - height, depth, cell.u, cell.v);
    at = PutTexturedVertex(at, left + width, top - height, depth, u1, cell.v);
    at = PutTexturedVertex(at, left + width, top, depth, u1, v1);
    at = PutTexturedVertex(at, left, top, depth, cell.u, v1);
    left += width;
  }
  EndBatchedCommand(*renderer, renderer->batch);
}

void DrawTextInScene(int font, const char* text, double x, double y, double z, double scale) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr || !IsFontNumber(font) || text == nullptr) return;
  FlushQuadBatch(*renderer);  // the scene's text is drawn in the scene's matrices
  CullingPause culling;
  if (scale == 0) {
    DrawPinnedText(*renderer, font, text, x, y, z);
    return;
  }
  BindSpriteTexture(*renderer, FontSlot(font), -1, false);
  const FontGrid grid = FontGridOfSlot(*renderer, font);
  // The camera's right and up directions are the first two rows of the model-view matrix.
  GLfloat modelView[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  const float size = static_cast<float>(scale * grid.cellWidth);
  const float right[3] = {modelView[0] * size, modelView[4] * size, modelView[8] * size};
  const float up[3] = {modelView[1] * size, modelView[5] * size, modelView[9] * size};
  const float half = static_cast<float>(std::strlen(text)) / 2;
  const float origin[3] = {static_cast<float>(x) - right[0] * half, static_cast<float>(y) - right[1] * half,
                           static_cast<float>(z) - right[2] * half};
  DrawStandingText(grid, text, origin, right, up);
}
