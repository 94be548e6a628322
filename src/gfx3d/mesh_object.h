#pragma once
// A mesh object: one frame-animated model held as packed vertex slots per frame, with
// the triangles built from them, a colour table and texture coordinates shared by all
// frames.
//
// Packed slots form groups: a slot whose colour is a group marker starts a triangle
// list, strip or fan and never draws itself. A coordinate unpacks as
// (packed - offset) * scale per axis.

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "gfx3d/mesh_vertex.h"
#include "video/gl_texture.h"

struct MeshFrame {
  std::vector<MeshVertex> fullVertices;      // while building or expanding; packing empties it
  std::vector<MeshVertex> triangleVertices;  // three per triangle, made by BuildTriangles
  std::vector<PackedVertex> packedVertices;
  float offset[3] = {0, 0, 0};
  float scale[3] = {1, 1, 1};
  float boundingRadius = 0;
  float centre[3] = {0, 0, 0};
};

class MeshObject {
 public:
  virtual ~MeshObject() = default;
  // Builds each frame's triangle vertices from its packed slots; nothing in the base.
  virtual void BuildTriangles() {}

  std::vector<MeshFrame> frames;
  std::vector<MeshVertex> currentVertices;  // frame 0's triangles, reworked per draw
  std::vector<float> textureU;  // one per vertex slot, shared by every frame
  std::vector<float> textureV;  // as stored: unpacking negates it
  std::vector<std::uint32_t> colourTable;
  bool tangentsDone = false;
};

// The edge record of a triangle side, for the shadow volume.
struct MeshEdge {
  std::int32_t neighbour = -1;  // triangle across this side, -1 for none
  std::uint8_t silhouette = 0;
};

class MeshObjectX : public MeshObject {
 public:
  void BuildTriangles() override;

  GLuint staticBuffer = 0;  // buffer object of frame 0's triangle vertices, 0 = none
  GLuint streamBuffer = 0;  // buffer object of the current vertices
  // A plain blend streams positions and normals only; texture coordinates and colours,
  // which it leaves as they are, come from restBuffer, filled again from the current
  // vertices when restChanged. Such a blend does not write the current vertices back:
  // their positions and normals then lag behind the blend of blendBase and blendOther by
  // blendWeight until the next draw that works on them catches up (motionBehind).
  GLuint restBuffer = 0;
  bool restChanged = true;
  bool motionBehind = false;
  std::int32_t blendBase = 0;
  std::int32_t blendOther = 0;
  float blendWeight = 0;
  bool hasColours = false;  // the colour table holds a colour other than white
  GlTexture celTexture;  // built by the first cel draw
  float celRowStep = 0;
  std::vector<MeshEdge> edges;          // three per triangle of frame 0
  std::vector<std::uint8_t> faceLit;    // one per triangle of frame 0
  std::int32_t textureA = 0;            // into the slot's texture list (scene objects)
  std::int32_t textureB = 0;
};

// Unpacks slot index of frame into vertex: position, the three normal-table vectors,
// colour and its components, colourIndex, u and v (negated) of the slot. Colour and
// texture lookups outside their lists read white and 0.
void UnpackVertex(const MeshObject& object, const MeshFrame& frame, std::size_t index, MeshVertex& vertex);

// The colour-table entry at index, or white when the index is outside the table.
std::uint32_t ColourAt(const MeshObject& object, std::uint32_t index);

// Empties every list of the object (releasing their storage when asked; edges and
// faceLit only then) and deletes its buffer objects and cel texture.
void ClearObject(MeshObjectX& object, bool releaseStorage);

// Per frame: centre = mean of the triangle vertices, bounding radius = the largest
// distance from it (squared distances of 1e-7 or less do not count). A frame without
// triangles gets centre and radius 0.
void ComputeBounds(MeshObject& object);
