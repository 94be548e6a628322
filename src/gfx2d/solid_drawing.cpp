#include "gfx2d/solid_drawing.h"

#include <algorithm>
#include <cmath>

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "gfx2d/drawing_state.h"
#include "video/renderer.h"

namespace {

// Solid primitives: alpha test off, texturing off, the colour scaled by the current
// alpha (the sprite key drawn with alpha 0), and a shift of 3/8 pixel so that vertices
// at whole coordinates hit pixel centres. Everything is restored when it goes.
class SolidPrimitive {
 public:
  SolidPrimitive(OpenGLDiveduva& renderer, double colour) : renderer_(renderer), untextured_(renderer) {
    glDisable(GL_ALPHA_TEST);
    const std::int32_t packed = TruncateToInt32(colour);
    const float alpha = renderer.currentAlpha;
    const auto component = [&](int shift) {
      return static_cast<GLubyte>(static_cast<float>((packed >> shift) & 0xFF) * alpha);
    };
    const GLubyte opacity = packed == renderer.textures.spriteKey ? 0 : static_cast<GLubyte>(alpha * 255);
    glColor4ub(component(0), component(8), component(16), opacity);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
  }
  ~SolidPrimitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const float alpha = renderer_.currentAlpha;
    glColor4f(alpha, alpha, alpha, alpha);
    glEnable(GL_ALPHA_TEST);
  }
  SolidPrimitive(const SolidPrimitive&) = delete;
  SolidPrimitive& operator=(const SolidPrimitive&) = delete;

 private:
  OpenGLDiveduva& renderer_;
  UntexturedDrawing untextured_;  // destroyed after the body above: binding restored last
};

OpenGLDiveduva* DrawingRenderer() {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  return renderer != nullptr && renderer->context != nullptr ? renderer : nullptr;
}

float Coordinate(double value) { return static_cast<float>(value); }

}  // namespace

void SetAlphaMode(double value) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
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
  SolidPrimitive primitive(*renderer, colour);
  glBegin(GL_POINTS);
  glVertex2f(Coordinate(x), -(Coordinate(y) + 1));
  glEnd();
}

void DrawLine(double x1, double y1, double x2, double y2, double colour) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  {
    SolidPrimitive primitive(*renderer, colour);
    glBegin(GL_LINES);
    glVertex2f(Coordinate(x1), -(Coordinate(y1) + 1));
    glVertex2f(Coordinate(x2), -(Coordinate(y2) + 1));
    glEnd();
    // Lines leave out their last pixel; a point puts it in.
    glBegin(GL_POINTS);
    glVertex2f(Coordinate(x2), -(Coordinate(y2) + 1));
    glEnd();
  }
}

void DrawRect(double x1, double y1, double x2, double y2, double colour) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return;
  float left = Coordinate(x1), right = Coordinate(x2), top = Coordinate(y1), bottom = Coordinate(y2);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  right += 1;
  bottom += 1;
  {
    SolidPrimitive primitive(*renderer, colour);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(left, -bottom);
    glVertex2f(right, -bottom);
    glVertex2f(right, -top);
    glVertex2f(left, -top);
    glEnd();
  }
}

double GetPixel(double x, double y) {
  OpenGLDiveduva* renderer = DrawingRenderer();
  if (renderer == nullptr) return 0;
  GLubyte rgb[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_FRONT);
  glReadPixels(TruncateToInt32(x), renderer->surfaceHeight - 1 - TruncateToInt32(y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE,
               rgb);
  glReadBuffer(GL_BACK);
  return rgb[0] + rgb[1] * 256.0 + rgb[2] * 65536.0;
}
