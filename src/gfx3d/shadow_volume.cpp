#include "gfx3d/shadow_volume.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

constexpr float kSamePosition = 0.00001f;

struct Cell {
  long long x, y, z;
  bool operator==(const Cell&) const = default;
};

struct CellHash {
  std::size_t operator()(const Cell& c) const {
    return std::hash<long long>()(c.x * 73856093LL ^ c.y * 19349663LL ^ c.z * 83492791LL);
  }
};

Cell CellOf(const float p[3]) {
  auto axis = [](float v) { return static_cast<long long>(std::floor(static_cast<double>(v) / kSamePosition)); };
  return {axis(p[0]), axis(p[1]), axis(p[2])};
}

bool Close(const float a[3], const float b[3]) {
  return std::fabs(a[0] - b[0]) <= kSamePosition && std::fabs(a[1] - b[1]) <= kSamePosition &&
         std::fabs(a[2] - b[2]) <= kSamePosition;
}

// Numbers every triangle vertex of frame 0 by the first packed vertex at its position.
std::vector<std::int64_t> IdentifyVertices(const MeshObjectX& object) {
  const MeshFrame& frame = object.frames[0];
  std::vector<MeshVertex> unpacked(frame.packedVertices.size());
  std::unordered_map<Cell, std::vector<std::int64_t>, CellHash> cells;
  for (std::size_t i = 0; i < unpacked.size(); ++i) {
    UnpackVertex(object, frame, i, unpacked[i]);
    cells[CellOf(unpacked[i].position)].push_back(static_cast<std::int64_t>(i));
  }
  std::vector<std::int64_t> ids(frame.triangleVertices.size());
  for (std::size_t v = 0; v < ids.size(); ++v) {
    const float* p = frame.triangleVertices[v].position;
    const Cell home = CellOf(p);
    std::int64_t first = -1 - static_cast<std::int64_t>(v);  // alone when nothing matches
    for (long long dx = -1; dx <= 1; ++dx) {
      for (long long dy = -1; dy <= 1; ++dy) {
        for (long long dz = -1; dz <= 1; ++dz) {
          const auto found = cells.find({home.x + dx, home.y + dy, home.z + dz});
          if (found == cells.end()) continue;
          for (std::int64_t index : found->second) {
            if ((first < 0 || index < first) && Close(unpacked[static_cast<std::size_t>(index)].position, p)) {
              first = index;
            }
          }
        }
      }
    }
    ids[v] = first;
  }
  return ids;
}

struct EdgeKey {
  std::int64_t low, high;
  bool operator==(const EdgeKey&) const = default;
};

struct EdgeKeyHash {
  std::size_t operator()(const EdgeKey& k) const {
    return std::hash<std::int64_t>()(k.low * 1000003LL ^ k.high);
  }
};

}  // namespace

void BuildEdgeAdjacency(MeshObjectX& object) {
  if (!object.edges.empty() || object.frames.empty()) return;
  const std::vector<std::int64_t> ids = IdentifyVertices(object);
  const std::size_t triangles = ids.size() / 3;
  object.edges.assign(triangles * 3, MeshEdge{});
  object.faceLit.assign(triangles, 0);
  // Every side of every triangle, grouped by the two vertices it joins, in triangle order.
  std::unordered_map<EdgeKey, std::vector<std::size_t>, EdgeKeyHash> sides;
  for (std::size_t side = 0; side < triangles * 3; ++side) {
    const std::int64_t a = ids[side], b = ids[side - side % 3 + (side + 1) % 3];
    sides[{std::min(a, b), std::max(a, b)}].push_back(side);
  }
  for (std::size_t side = 0; side < triangles * 3; ++side) {
    if (object.edges[side].neighbour != -1) continue;
    const std::int64_t a = ids[side], b = ids[side - side % 3 + (side + 1) % 3];
    const std::size_t triangle = side / 3;
    for (std::size_t other : sides[{std::min(a, b), std::max(a, b)}]) {
      if (other / 3 <= triangle) continue;
      object.edges[side].neighbour = static_cast<std::int32_t>(other / 3);
      object.edges[other].neighbour = static_cast<std::int32_t>(triangle);
    }
  }
}

namespace {

// The volume's sides and caps are clockwise seen from outside in object space, whatever
// the model's own winding (the lit side is chosen by the clockwise normal). On screen
// that stays clockwise unless the modelview mirrors, which turns every winding round.
GLenum VolumeFrontFace() {
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const float determinant = m[0] * (m[5] * m[10] - m[6] * m[9]) - m[4] * (m[1] * m[10] - m[2] * m[9]) +
                            m[8] * (m[1] * m[6] - m[2] * m[5]);
  return determinant < 0 ? GL_CCW : GL_CW;
}

void Extruded(const float* v, const Vector3& light) { glVertex4f(v[0] - light[0], v[1] - light[1], v[2] - light[2], 0); }

void DrawVolumeGeometry(const MeshObjectX& object, const MeshFrame& frame, const Vector3& light) {
  const std::vector<MeshVertex>& vertices = frame.triangleVertices;
  const std::size_t triangles = std::min(vertices.size() / 3, object.faceLit.size());
  glBegin(GL_QUADS);
  for (std::size_t f = 0; f < triangles; ++f) {
    if (!object.faceLit[f]) continue;
    for (int e = 0; e < 3; ++e) {
      const MeshEdge& edge = object.edges[f * 3 + e];
      if (edge.neighbour >= 0 && object.faceLit[static_cast<std::size_t>(edge.neighbour)]) continue;
      const float* from = vertices[f * 3 + e].position;
      const float* to = vertices[f * 3 + (e + 1) % 3].position;
      glVertex3fv(to);
      glVertex3fv(from);
      Extruded(from, light);
      Extruded(to, light);
    }
  }
  glEnd();
  glBegin(GL_TRIANGLES);
  for (std::size_t f = 0; f < triangles; ++f) {
    for (int k = 0; k < 3; ++k) {
      const float* v = vertices[f * 3 + k].position;
      if (object.faceLit[f]) {
        glVertex3fv(v);
      } else {
        Extruded(v, light);
      }
    }
  }
  glEnd();
}

}  // namespace

void DrawShadowVolume(MeshObjectX& object, const MeshFrame& frame, const Vector3& light) {
  const std::vector<MeshVertex>& vertices = frame.triangleVertices;
  const std::size_t triangles = std::min(vertices.size() / 3, object.faceLit.size());
  if (object.edges.size() < triangles * 3) return;
  for (std::size_t f = 0; f < triangles; ++f) {
    const float* v0 = vertices[f * 3].position;
    const float* v1 = vertices[f * 3 + 1].position;
    const float* v2 = vertices[f * 3 + 2].position;
    const float a[3] = {v0[0] - v1[0], v0[1] - v1[1], v0[2] - v1[2]};
    const float b[3] = {v2[0] - v1[0], v2[1] - v1[1], v2[2] - v1[2]};
    const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    object.faceLit[f] = n[0] * light[0] + n[1] * light[1] + n[2] * light[2] > 0;
  }
  // Front faces of the volume count up and back faces down, so the volume's own
  // orientation replaces the scene's for the two passes; the scene's comes back after.
  GLint frontFace = GL_CCW, cullMode = GL_BACK;
  glGetIntegerv(GL_FRONT_FACE, &frontFace);
  glGetIntegerv(GL_CULL_FACE_MODE, &cullMode);
  const GLboolean culling = glIsEnabled(GL_CULL_FACE);
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  glFrontFace(VolumeFrontFace());
  glStencilFunc(GL_ALWAYS, 0, ~0u);
  glCullFace(GL_BACK);
  glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
  DrawVolumeGeometry(object, frame, light);
  glCullFace(GL_FRONT);
  glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
  DrawVolumeGeometry(object, frame, light);
  glPopAttrib();
  glFrontFace(static_cast<GLenum>(frontFace));
  glCullFace(static_cast<GLenum>(cullMode));
  if (culling) glEnable(GL_CULL_FACE);
}
