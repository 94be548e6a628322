#include <cmath>

#include "source_scene.h"

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 product;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[row][k] * b.m[k][column];
      product.m[row][column] = sum;
    }
  }
  return product;
}

Vec3 TransformPoint(const Mat4& matrix, Vec3 p) {
  const auto& m = matrix.m;
  return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
          m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
          m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
}

Vec3 TransformNormal(const Mat4& matrix, Vec3 n) {
  // The cofactor matrix is the inverse transpose times the determinant; dividing by the
  // determinant's sign keeps mirrored normals pointing outward.
  const auto& m = matrix.m;
  float c[3][3];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int r1 = (row + 1) % 3, r2 = (row + 2) % 3, c1 = (column + 1) % 3, c2 = (column + 2) % 3;
      c[row][column] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
    }
  }
  const float determinant = m[0][0] * c[0][0] + m[0][1] * c[0][1] + m[0][2] * c[0][2];
  const float sign = determinant < 0 ? -1.0f : 1.0f;
  return {sign * (c[0][0] * n.x + c[0][1] * n.y + c[0][2] * n.z),
          sign * (c[1][0] * n.x + c[1][1] * n.y + c[1][2] * n.z),
          sign * (c[2][0] * n.x + c[2][1] * n.y + c[2][2] * n.z)};
}

Mat4 ComposeTransform(Vec3 t, Quat q, Vec3 s) {
  const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  if (length > 0) q = {q.w / length, q.x / length, q.y / length, q.z / length};
  const float r[3][3] = {
      {1 - 2 * (q.y * q.y + q.z * q.z), 2 * (q.x * q.y - q.w * q.z), 2 * (q.x * q.z + q.w * q.y)},
      {2 * (q.x * q.y + q.w * q.z), 1 - 2 * (q.x * q.x + q.z * q.z), 2 * (q.y * q.z - q.w * q.x)},
      {2 * (q.x * q.z - q.w * q.y), 2 * (q.y * q.z + q.w * q.x), 1 - 2 * (q.x * q.x + q.y * q.y)}};
  const float scale[3] = {s.x, s.y, s.z};
  const float translation[3] = {t.x, t.y, t.z};
  Mat4 matrix;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) matrix.m[row][column] = r[row][column] * scale[column];
    matrix.m[row][3] = translation[row];
  }
  return matrix;
}

Vec3 Normalised(Vec3 v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(length > 1e-12f)) return v;
  return {v.x / length, v.y / length, v.z / length};
}
