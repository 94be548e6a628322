#include "gfx3d/screen_projection.h"

#include <GL/gl.h>

#include <array>
#include <cmath>

namespace {

using Matrix4d = std::array<double, 16>;  // column after column

struct GlView {
  GLint viewport[4] = {0, 0, 0, 0};
  Matrix4d combined{};  // projection x model-view
};

GlView ReadView() {
  GlView view;
  glGetIntegerv(GL_VIEWPORT, view.viewport);
  Matrix4 projection{}, modelView{};
  glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += double(projection[k * 4 + row]) * modelView[column * 4 + k];
      view.combined[column * 4 + row] = sum;
    }
  }
  return view;
}

std::array<double, 4> Multiply(const Matrix4d& m, const std::array<double, 4>& v) {
  std::array<double, 4> out{};
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  }
  return out;
}

// General 4 x 4 inverse by cofactors; false when the determinant is 0.
bool Invert(const Matrix4d& m, Matrix4d& out) {
  Matrix4d inv{};
  inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
           m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
  inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
           m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
  inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
           m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
  inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
            m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
  inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
           m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
  inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
           m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
  inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
           m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
  inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
            m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
  inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
           m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
  inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
           m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
  inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
            m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
  inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
            m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
  inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
           m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
  inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
           m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
  inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
            m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
  inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
            m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
  const double determinant = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
  if (determinant == 0 || !std::isfinite(determinant)) return false;
  for (int i = 0; i < 16; ++i) out[i] = inv[i] / determinant;
  return true;
}

}  // namespace

bool ProjectToScreen(const Vector3& point, Vector3& screen) {
  const GlView view = ReadView();
  const std::array<double, 4> clip = Multiply(view.combined, {point[0], point[1], point[2], 1.0});
  if (clip[3] == 0) return false;
  const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
  const double width = view.viewport[2], height = view.viewport[3];
  screen[0] = static_cast<float>(view.viewport[0] + (x + 1) * width / 2);
  screen[1] = static_cast<float>(height - (view.viewport[1] + height * (y + 1) / 2));
  screen[2] = static_cast<float>((z + 1) / 2);
  return true;
}

bool ScreenToWorld(const Vector3& screen, Vector3& point) {
  const GlView view = ReadView();
  Matrix4d inverse{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  Invert(view.combined, inverse);
  const double width = view.viewport[2], height = view.viewport[3];
  if (width == 0 || height == 0) return false;
  const std::array<double, 4> normalised = {(screen[0] - view.viewport[0]) / width * 2 - 1,
                                            (screen[1] - view.viewport[1]) / height * 2 - 1, screen[2] * 2.0 - 1, 1};
  const std::array<double, 4> out = Multiply(inverse, normalised);
  if (out[3] == 0) return false;
  point = {static_cast<float>(out[0] / out[3]), static_cast<float>(out[1] / out[3]),
           static_cast<float>(out[2] / out[3])};
  return true;
}
