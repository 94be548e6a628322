#include "gfx3d/shadow_volume.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr float kSamePosition = 0.00001f;

// Open addressing with linear probing: the edge build looks up a few hundred thousand
// positions and sides per object, where a node per entry costs more than the search.
// A key and its value share an entry, so a probe touches one cache line. Values are
// never kFree; the capacity stays above one and a half times the expected keys.
template <typename Key, typename Hash>
class FlatTable {
 public:
  static constexpr std::int32_t kFree = INT32_MIN;

  explicit FlatTable(std::size_t expected) {
    std::size_t capacity = 16;
    while (capacity < expected + expected / 2) capacity *= 2;
    entries_.assign(capacity, Entry{Key{}, kFree});
    mask_ = capacity - 1;
  }
  // The value stored under key; kFree for a new key, whose value the caller then sets.
  std::int32_t& operator[](const Key& key) {
    Entry* entry = Probe(key);
    entry->key = key;
    return entry->value;
  }
  std::int32_t Find(const Key& key) const { return const_cast<FlatTable*>(this)->Probe(key)->value; }

 private:
  struct Entry {
    Key key;
    std::int32_t value;
  };

  Entry* Probe(const Key& key) {
    std::size_t i = Hash()(key) & mask_;
    while (entries_[i].value != kFree && !(entries_[i].key == key)) i = (i + 1) & mask_;
    return &entries_[i];
  }

  std::vector<Entry> entries_;
  std::size_t mask_ = 0;
};

std::uint64_t Mix(std::uint64_t x) {
  x ^= x >> 31;
  x *= 0x7FB5D329728EA185ULL;
  x ^= x >> 27;
  x *= 0x81DADEF4BC2DD44DULL;
  return x ^ (x >> 33);
}

// A position by its exact bits, three floats.
struct PositionKey {
  std::uint32_t x, y, z;
  bool operator==(const PositionKey&) const = default;
};
struct PositionKeyHash {
  std::size_t operator()(const PositionKey& k) const {
    return Mix((std::uint64_t{k.x} << 32 | k.y) ^ Mix(k.z));
  }
};
PositionKey KeyOf(const float p[3]) {
  PositionKey key;
  std::memcpy(&key.x, &p[0], 4);
  std::memcpy(&key.y, &p[1], 4);
  std::memcpy(&key.z, &p[2], 4);
  return key;
}

// Grid cells of edge kCellSize (a power of two, so the cell arithmetic is exact), more
// than twice the tolerance: a position within tolerance of p lies in p's cell or, on an
// axis where p is that close to the cell's side, in the neighbour across it.
constexpr double kCellSize = 1.0 / 1024;
constexpr double kCellMargin = 2 * kSamePosition;
constexpr double kFarthestCell = 1e9;  // beyond it cells merge; the exact test still decides

struct Cell {
  std::int32_t x, y, z;
  bool operator==(const Cell&) const = default;
};
struct CellHash {
  std::size_t operator()(const Cell& c) const {
    return Mix((std::uint64_t{static_cast<std::uint32_t>(c.x)} << 32 | static_cast<std::uint32_t>(c.y)) ^
               Mix(static_cast<std::uint32_t>(c.z)));
  }
};

// The cell of one coordinate and the neighbours (-1, 0, +1) worth searching.
struct AxisCells {
  std::int32_t cell = 0;
  int low = 0;
  int high = 0;
};
AxisCells CellsAround(float value) {
  const double scaled = static_cast<double>(value) / kCellSize;
  AxisCells axis;
  if (!(std::fabs(scaled) < kFarthestCell)) {
    axis.cell = scaled > 0 ? static_cast<std::int32_t>(kFarthestCell) : -static_cast<std::int32_t>(kFarthestCell);
    return axis;
  }
  const double floor = std::floor(scaled);
  const double inside = static_cast<double>(value) - floor * kCellSize;
  axis.cell = static_cast<std::int32_t>(floor);
  axis.low = inside < kCellMargin ? -1 : 0;
  axis.high = inside > kCellSize - kCellMargin ? 1 : 0;
  return axis;
}

bool Close(const float a[3], const float b[3]) {
  return std::fabs(a[0] - b[0]) <= kSamePosition && std::fabs(a[1] - b[1]) <= kSamePosition &&
         std::fabs(a[2] - b[2]) <= kSamePosition;
}

// The packed slots of frame 0 as positions, each distinct position once with the first
// slot that has it, chained by grid cell in slot order.
class SlotPositions {
 public:
  explicit SlotPositions(const MeshFrame& frame) : bySlotPosition_(frame.packedVertices.size()), cells_(0) {
    const std::size_t count = frame.packedVertices.size();
    for (std::size_t i = 0; i < count; ++i) {
      // As UnpackVertex places a slot.
      const PackedVertex& packed = frame.packedVertices[i];
      const std::uint8_t coordinates[3] = {packed.x, packed.y, packed.z};
      std::array<float, 3> p;
      for (int axis = 0; axis < 3; ++axis) {
        p[static_cast<std::size_t>(axis)] =
            (static_cast<float>(coordinates[axis]) - frame.offset[axis]) * frame.scale[axis];
      }
      std::int32_t& unique = bySlotPosition_[KeyOf(p.data())];
      if (unique != FlatTable<PositionKey, PositionKeyHash>::kFree) continue;
      unique = static_cast<std::int32_t>(positions_.size());
      positions_.push_back(p);
      firstSlot_.push_back(static_cast<std::int64_t>(i));
    }
    cells_ = FlatTable<Cell, CellHash>(positions_.size());
    next_.assign(positions_.size(), -1);
    for (std::size_t u = positions_.size(); u-- > 0;) {
      const float* p = positions_[u].data();
      std::int32_t& head = cells_[{CellsAround(p[0]).cell, CellsAround(p[1]).cell, CellsAround(p[2]).cell}];
      next_[u] = head == FlatTable<Cell, CellHash>::kFree ? -1 : head;
      head = static_cast<std::int32_t>(u);
    }
    matchOf_.assign(positions_.size(), kUnknown);
  }

  // The first slot whose position lies within tolerance of p, or -1.
  std::int64_t FirstClose(const float p[3]) {
    const std::int32_t unique = bySlotPosition_.Find(KeyOf(p));
    if (unique == FlatTable<PositionKey, PositionKeyHash>::kFree) return Search(p);
    std::int64_t& match = matchOf_[static_cast<std::size_t>(unique)];
    if (match == kUnknown) match = Search(p);
    return match;
  }

 private:
  static constexpr std::int64_t kUnknown = -2;

  std::int64_t Search(const float p[3]) const {
    const AxisCells x = CellsAround(p[0]), y = CellsAround(p[1]), z = CellsAround(p[2]);
    std::int64_t first = -1;
    for (int dx = x.low; dx <= x.high; ++dx) {
      for (int dy = y.low; dy <= y.high; ++dy) {
        for (int dz = z.low; dz <= z.high; ++dz) {
          for (std::int32_t u = cells_.Find({x.cell + dx, y.cell + dy, z.cell + dz}); u >= 0;
               u = next_[static_cast<std::size_t>(u)]) {
            const std::int64_t slot = firstSlot_[static_cast<std::size_t>(u)];
            if ((first < 0 || slot < first) && Close(positions_[static_cast<std::size_t>(u)].data(), p)) first = slot;
          }
        }
      }
    }
    return first;
  }

  FlatTable<PositionKey, PositionKeyHash> bySlotPosition_;  // distinct position -> its index
  std::vector<std::array<float, 3>> positions_;
  std::vector<std::int64_t> firstSlot_;
  FlatTable<Cell, CellHash> cells_;  // cell -> first distinct position in it
  std::vector<std::int32_t> next_;   // the next distinct position in the same cell
  std::vector<std::int64_t> matchOf_;
};

// Numbers every triangle vertex of frame 0 by the first packed vertex at its position.
std::vector<std::int64_t> IdentifyVertices(const MeshObjectX& object) {
  const MeshFrame& frame = object.frames[0];
  SlotPositions slots(frame);
  std::vector<std::int64_t> ids(frame.triangleVertices.size());
  for (std::size_t v = 0; v < ids.size(); ++v) {
    const std::int64_t first = slots.FirstClose(frame.triangleVertices[v].position);
    ids[v] = first >= 0 ? first : -1 - static_cast<std::int64_t>(v);  // alone when nothing matches
  }
  return ids;
}

struct EdgeKey {
  std::int64_t low, high;
  bool operator==(const EdgeKey&) const = default;
};

struct EdgeKeyHash {
  std::size_t operator()(const EdgeKey& k) const { return Mix(static_cast<std::uint64_t>(k.low) ^ Mix(static_cast<std::uint64_t>(k.high))); }
};

}  // namespace

void BuildEdgeAdjacency(MeshObjectX& object) {
  if (!object.edges.empty() || object.frames.empty()) return;
  const std::vector<std::int64_t> ids = IdentifyVertices(object);
  const std::size_t triangles = ids.size() / 3;
  object.edges.assign(triangles * 3, MeshEdge{});
  object.faceLit.assign(triangles, 0);
  // Every side of every triangle, chained by the two vertices it joins, in triangle order.
  auto keyOf = [&](std::size_t side) {
    const std::int64_t a = ids[side], b = ids[side - side % 3 + (side + 1) % 3];
    return EdgeKey{std::min(a, b), std::max(a, b)};
  };
  FlatTable<EdgeKey, EdgeKeyHash> firstSide(triangles * 3);
  std::vector<std::int32_t> nextSide(triangles * 3, -1);
  for (std::size_t side = triangles * 3; side-- > 0;) {
    std::int32_t& head = firstSide[keyOf(side)];
    if (head != FlatTable<EdgeKey, EdgeKeyHash>::kFree) nextSide[side] = head;
    head = static_cast<std::int32_t>(side);
  }
  for (std::size_t side = 0; side < triangles * 3; ++side) {
    if (object.edges[side].neighbour != -1) continue;
    const std::size_t triangle = side / 3;
    for (std::int32_t other = firstSide.Find(keyOf(side)); other >= 0; other = nextSide[static_cast<std::size_t>(other)]) {
      const std::size_t otherSide = static_cast<std::size_t>(other);
      if (otherSide / 3 <= triangle) continue;
      object.edges[side].neighbour = static_cast<std::int32_t>(otherSide / 3);
      object.edges[otherSide].neighbour = static_cast<std::int32_t>(triangle);
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

// The volume as drawn, built once for both stencil passes: the silhouette quads, then
// the caps; a point extruded to infinity has w = 0.
struct VolumeGeometry {
  std::vector<float> corners;  // x, y, z, w each
  GLsizei quadCorners = 0;
  GLsizei capCorners = 0;
};

VolumeGeometry BuildVolumeGeometry(const MeshObjectX& object, const MeshFrame& frame, const Vector3& light) {
  const std::vector<MeshVertex>& vertices = frame.triangleVertices;
  const std::size_t triangles = std::min(vertices.size() / 3, object.faceLit.size());
  VolumeGeometry volume;
  std::vector<float>& out = volume.corners;
  out.reserve(triangles * 3 * 4 * 2);
  auto corner = [&out](const float* v) { out.insert(out.end(), {v[0], v[1], v[2], 1.0f}); };
  auto extruded = [&out, &light](const float* v) { out.insert(out.end(), {v[0] - light[0], v[1] - light[1], v[2] - light[2], 0.0f}); };
  for (std::size_t f = 0; f < triangles; ++f) {
    if (!object.faceLit[f]) continue;
    for (int e = 0; e < 3; ++e) {
      const MeshEdge& edge = object.edges[f * 3 + e];
      if (edge.neighbour >= 0 && object.faceLit[static_cast<std::size_t>(edge.neighbour)]) continue;
      const float* from = vertices[f * 3 + e].position;
      const float* to = vertices[f * 3 + (e + 1) % 3].position;
      corner(to);
      corner(from);
      extruded(from);
      extruded(to);
    }
  }
  volume.quadCorners = static_cast<GLsizei>(out.size() / 4);
  for (std::size_t f = 0; f < triangles; ++f) {
    for (int k = 0; k < 3; ++k) {
      const float* v = vertices[f * 3 + k].position;
      if (object.faceLit[f]) {
        corner(v);
      } else {
        extruded(v);
      }
    }
  }
  volume.capCorners = static_cast<GLsizei>(out.size() / 4) - volume.quadCorners;
  return volume;
}

// Client arrays: the caller has no buffer object bound.
void DrawVolumeGeometry(const VolumeGeometry& volume) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(4, GL_FLOAT, 0, volume.corners.data());
  if (volume.quadCorners > 0) glDrawArrays(GL_QUADS, 0, volume.quadCorners);
  if (volume.capCorners > 0) glDrawArrays(GL_TRIANGLES, volume.quadCorners, volume.capCorners);
  glDisableClientState(GL_VERTEX_ARRAY);
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
  const VolumeGeometry volume = BuildVolumeGeometry(object, frame, light);
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  glFrontFace(VolumeFrontFace());
  glStencilFunc(GL_ALWAYS, 0, ~0u);
  glCullFace(GL_BACK);
  glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
  DrawVolumeGeometry(volume);
  glCullFace(GL_FRONT);
  glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
  DrawVolumeGeometry(volume);
  glPopAttrib();
  glFrontFace(static_cast<GLenum>(frontFace));
  glCullFace(static_cast<GLenum>(cullMode));
  if (culling) glEnable(GL_CULL_FACE);
}
