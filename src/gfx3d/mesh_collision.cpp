#include "gfx3d/mesh_collision.h"

#include <algorithm>
#include <cmath>

#include "gfx3d/object_transforms.h"
#include "gfx3d/scene_camera.h"

namespace {

constexpr double kSmallSquare = 1e-7;    // squared lengths at or below this count as 0
constexpr double kSmallLength = 1e-8;    // products of lengths and segment lengths below this
constexpr double kInsideAngleSum = 6.220353514028915;  // just above 0.99 x 2 pi

struct V {
  double x, y, z;
};

V D(const Vector3& v) { return {v[0], v[1], v[2]}; }
Vector3 F(const V& v) { return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)}; }
V operator-(const V& a, const V& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator+(const V& a, const V& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V operator*(const V& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(const V& a, const V& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V Cross(const V& a, const V& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

double LengthOrZero(const V& v) {
  const double square = Dot(v, v);
  return square > kSmallSquare ? std::sqrt(square) : 0.0;
}

Vector3 Position(const MeshVertex& vertex) { return {vertex.position[0], vertex.position[1], vertex.position[2]}; }

const MeshFrame* UsableFrame(const MeshObject& object, std::uint32_t frame) {
  if (frame >= object.frames.size()) return nullptr;
  const MeshFrame& found = object.frames[frame];
  return found.triangleVertices.size() < 3 ? nullptr : &found;
}

double SquaredDistanceToCentre(const MeshFrame& frame, const V& point) {
  const V d = point - V{frame.centre[0], frame.centre[1], frame.centre[2]};
  return Dot(d, d);
}

// Projection interval of the three triangle points on axis against the box's interval.
bool SeparatedOn(const V& axis, const V p[3], const V& centre, const V axes[3]) {
  const double a = Dot(p[0], axis), b = Dot(p[1], axis), c = Dot(p[2], axis);
  const double low = std::min({a, b, c});
  const double high = std::max({a, b, c});
  const double middle = Dot(centre, axis);
  const double reach = std::fabs(Dot(axes[0], axis)) + std::fabs(Dot(axes[1], axis)) + std::fabs(Dot(axes[2], axis));
  return low - (middle + reach) > 0 || (middle - reach) - high > 0;
}

}  // namespace

Vector3 InverseRigidTransform(const Matrix4& t, const Vector3& point) {
  // Each column of the upper 3 x 3 part is taken at unit length, so a scale in the
  // transform leaves the tested shape's size and the ray's units alone.
  const V d = D(point) - V{t[12], t[13], t[14]};
  double out[3];
  for (int column = 0; column < 3; ++column) {
    const V axis{t[column * 4], t[column * 4 + 1], t[column * 4 + 2]};
    const double length = std::sqrt(Dot(axis, axis));
    out[column] = length > 0 ? Dot(axis, d) / length : 0.0;
  }
  return F({out[0], out[1], out[2]});
}

Vector3 ClosestPointOnSegment(const Vector3& a, const Vector3& b, const Vector3& c) {
  const V start = D(a), along = D(b) - start;
  const double length = std::sqrt(Dot(along, along));
  if (!(length >= kSmallLength)) return a;
  const V unit = along * (1.0 / length);
  const double s = Dot(unit, D(c) - start);
  if (s <= 0) return a;
  if (s >= length) return b;
  return F(start + unit * s);
}

bool PointInPolygon(const Vector3& point, const Vector3* vertices, int count) {
  const V q = D(point);
  double sum = 0;
  for (int i = 0; i < count; ++i) {
    const V a = D(vertices[i]) - q;
    const V b = D(vertices[(i + 1) % count]) - q;
    const double lengths = LengthOrZero(a) * LengthOrZero(b);
    if (lengths <= kSmallLength) continue;
    sum += std::acos(std::clamp(Dot(a, b) / lengths, -1.0, 1.0));
  }
  return sum >= kInsideAngleSum;
}

bool SphereHitsTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& centre,
                        float radius) {
  const V a = D(p0), c = D(centre);
  V n = Cross(D(p2) - a, D(p1) - a);
  const double square = Dot(n, n);
  if (square > kSmallSquare) n = n * (1.0 / std::sqrt(square));
  const double d = Dot(n, c) - Dot(n, a);
  if (!(std::fabs(d) < radius)) return false;
  const Vector3 corners[3] = {p0, p1, p2};
  if (PointInPolygon(F(c - n * d), corners, 3)) return true;
  for (int i = 0; i < 3; ++i) {
    const V closest = D(ClosestPointOnSegment(corners[i], corners[(i + 1) % 3], centre));
    const V gap = c - closest;
    if (radius > std::sqrt(Dot(gap, gap))) return true;
  }
  return false;
}

float RayTriangleParameter(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& origin,
                           const Vector3& second) {
  const V a = D(p0), e1 = D(p1) - a, e2 = D(p2) - a, n = Cross(e1, e2);
  if (n.x == 0 && n.y == 0 && n.z == 0) return 0;
  const V o = D(origin), direction = D(second) - o;
  const double denominator = Dot(n, direction);
  if (denominator == 0) return 0;
  const double t = -Dot(n, o - a) / denominator;
  const V w = (o + direction * t) - a;
  const double uu = Dot(e1, e1), vv = Dot(e2, e2), uv = Dot(e1, e2), wu = Dot(w, e1), wv = Dot(w, e2);
  const double den = uv * uv - uu * vv;
  if (den == 0) return 0;
  const double s = (uv * wv - vv * wu) / den;
  if (!(s >= 0 && s <= 1)) return 0;
  const double q = (uv * wu - uu * wv) / den;
  if (!(q >= 0 && s + q <= 1)) return 0;
  return static_cast<float>(t);
}

bool BoxOverlapsTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& centre,
                         const Vector3 axes[3]) {
  const V p[3] = {D(p0), D(p1), D(p2)};
  const V c = D(centre);
  const V box[3] = {D(axes[0]), D(axes[1]), D(axes[2])};
  const V edges[3] = {p[1] - p[0], p[2] - p[1], p[0] - p[2]};
  for (const V& axis : box) {
    if (SeparatedOn(axis, p, c, box)) return false;
  }
  if (SeparatedOn(Cross(edges[0], edges[1]), p, c, box)) return false;
  for (const V& axis : box) {
    for (const V& edge : edges) {
      if (SeparatedOn(Cross(axis, edge), p, c, box)) return false;
    }
  }
  return true;
}

bool SphereHitsMesh(const MeshObject& object, std::uint32_t frame, float radius, const Vector3& centre,
                    const Matrix4& transform) {
  const MeshFrame* found = UsableFrame(object, frame);
  if (found == nullptr) return false;
  const Vector3 local = InverseRigidTransform(transform, centre);
  const double reach = double(radius) + found->boundingRadius;
  if (reach * reach < SquaredDistanceToCentre(*found, D(local))) return false;
  const std::vector<MeshVertex>& vertices = found->triangleVertices;
  const V first = D(local) - D(Position(vertices[0]));
  if (double(radius) * radius >= Dot(first, first)) return true;
  for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
    if (SphereHitsTriangle(Position(vertices[i]), Position(vertices[i + 1]), Position(vertices[i + 2]), local,
                           radius)) {
      return true;
    }
  }
  return false;
}

bool BoxHitsMesh(const MeshObject& object, std::uint32_t frame, const Vector3& centre, const Vector3 axes[3],
                 const Matrix4& transform) {
  const MeshFrame* found = UsableFrame(object, frame);
  if (found == nullptr) return false;
  const Vector3 local = InverseRigidTransform(transform, centre);
  Vector3 localAxes[3];
  for (int i = 0; i < 3; ++i) {
    const V corner = D(centre) + D(axes[i]);
    localAxes[i] = F(D(InverseRigidTransform(transform, F(corner))) - D(local));
  }
  const V diagonal = D(axes[0]) + D(axes[1]) + D(axes[2]);
  const double radius = found->boundingRadius;
  if (radius * radius + Dot(diagonal, diagonal) < SquaredDistanceToCentre(*found, D(local))) return false;
  const std::vector<MeshVertex>& vertices = found->triangleVertices;
  for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
    if (BoxOverlapsTriangle(Position(vertices[i]), Position(vertices[i + 1]), Position(vertices[i + 2]), local,
                            localAxes)) {
      return true;
    }
  }
  return false;
}

namespace {

// Keeps the smallest positive and the negative nearest to 0 of the values offered.
struct NearestHits {
  float ahead = 0;
  float behind = 0;
  void Offer(float t) {
    if (t > 0 && (ahead == 0 || t < ahead)) ahead = t;
    if (t < 0 && (behind == 0 || t > behind)) behind = t;
  }
  float Result() const { return ahead != 0 ? ahead : behind; }
};

}  // namespace

float RayHitsMesh(const MeshObject& object, std::uint32_t frame, const Vector3& origin, const Vector3& direction,
                  const Matrix4& transform) {
  const MeshFrame* found = UsableFrame(object, frame);
  if (found == nullptr) return 0;
  V unit = D(direction);
  const double square = Dot(unit, unit);
  if (square > kSmallSquare) unit = unit * (1.0 / std::sqrt(square));
  const Vector3 localOrigin = InverseRigidTransform(transform, origin);
  const Vector3 localSecond = InverseRigidTransform(transform, F(D(origin) + unit));
  NearestHits hits;
  const std::vector<MeshVertex>& vertices = found->triangleVertices;
  for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
    hits.Offer(RayTriangleParameter(Position(vertices[i]), Position(vertices[i + 1]), Position(vertices[i + 2]),
                                    localOrigin, localSecond));
  }
  return hits.Result();
}

Matrix4 ObjectTransformMatrix(const Diveduva3D& scene) {
  Matrix4 matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  if (!SceneHasContext(scene)) return matrix;
  GLint mode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  ApplyObjectTransforms(scene);
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix.data());
  glPopMatrix();
  glMatrixMode(static_cast<GLenum>(mode));
  return matrix;
}

namespace {

const ObjectSlot* LoadedSlot(Diveduva3D& scene, long long slot) {
  const ObjectSlot* found = scene.objects.Find(slot);
  return found != nullptr && found->loaded ? found : nullptr;
}

}  // namespace

bool SlotSphereHit(Diveduva3D& scene, long long slot, std::uint32_t frame, float radius, const Vector3& centre) {
  const ObjectSlot* found = LoadedSlot(scene, slot);
  if (found == nullptr) return false;
  const Matrix4 transform = ObjectTransformMatrix(scene);
  for (const auto& object : found->objects) {
    if (SphereHitsMesh(*object, frame, radius, centre, transform)) return true;
  }
  return false;
}

bool SlotBoxHit(Diveduva3D& scene, long long slot, std::uint32_t frame, const Vector3& centre,
                const Vector3& axisX, const Vector3& axisY, const Vector3& axisZ) {
  const ObjectSlot* found = LoadedSlot(scene, slot);
  if (found == nullptr) return false;
  const Matrix4 transform = ObjectTransformMatrix(scene);
  const Vector3 axes[3] = {axisX, axisY, axisZ};
  for (const auto& object : found->objects) {
    if (BoxHitsMesh(*object, frame, centre, axes, transform)) return true;
  }
  return false;
}

float SlotRayHit(Diveduva3D& scene, long long slot, std::uint32_t frame, const Vector3& origin,
                 const Vector3& direction) {
  const ObjectSlot* found = LoadedSlot(scene, slot);
  if (found == nullptr) return 0;
  const Matrix4 transform = ObjectTransformMatrix(scene);
  NearestHits hits;
  for (const auto& object : found->objects) hits.Offer(RayHitsMesh(*object, frame, origin, direction, transform));
  return hits.Result();
}
