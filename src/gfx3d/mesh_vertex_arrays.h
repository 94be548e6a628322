#pragma once
// How a mesh draw's vertices reach GL as vertex arrays.
//
// The full layout hands whole MeshVertex arrays over: frame 0 unblended from a static
// buffer object made once, every other draw from a stream buffer filled again per draw,
// or straight from client memory where the driver has no buffer objects. A plain blend
// changes positions and normals only, so it streams just those and takes texture
// coordinates and colours from a buffer of the rest, filled again only when the current
// vertices changed; the current vertices then lag behind the blend until CatchUpMotion.

#include <GL/gl.h>

#include <cstddef>
#include <vector>

#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_object.h"

struct FrameChoice;

// True when the renderer has a second texture unit with its own coordinate array.
bool HasMultitexture(const Diveduva3D& scene);
// True when the renderer has buffer objects for vertex arrays.
bool HasBufferObjects(const Diveduva3D& scene);
// Binds no array buffer, so array pointers address client memory again.
void UnbindArrayBuffer(const Diveduva3D& scene);

// Where a draw's arrays come from: positions and normals from moving, everything else
// from rest; each is a buffer object (0 for client memory), the address offsets are
// added to and a stride. The full layout has both in one array of MeshVertex.
struct ArraySource {
  GLuint buffer = 0;
  const char* base = nullptr;
  GLsizei stride = sizeof(MeshVertex);
};

struct VertexLayout {
  ArraySource moving;
  ArraySource rest;
  std::size_t position = offsetof(MeshVertex, position);
  std::size_t normal = offsetof(MeshVertex, normal);
  std::size_t texCoord = offsetof(MeshVertex, texCoord);
  std::size_t colourRGB = offsetof(MeshVertex, colourRGB);
};

// Position and normal of other + (base - other) x weight: the blend of every path.
void BlendMotion(const MeshVertex& base, const MeshVertex& other, float weight, float position[3], float normal[3]);
// Writes the last streamed blend into the current vertices from index first on; the
// ones before it are about to be overwritten.
void CatchUpMotion(MeshObjectX& object, std::size_t first);

// Hands whole vertices to GL (the static buffer for frame 0 unblended, the stream buffer
// otherwise) and returns the full layout that draws them.
VertexLayout UploadFullVertices(Diveduva3D& scene, MeshObjectX& object, const std::vector<MeshVertex>& vertices,
                                bool staticFrame);
// A blend with no effect and no texture offset changes positions and normals only, a
// quarter of each vertex: only they need streaming, beside the rest kept in a buffer.
bool BlendsMotionOnly(const Diveduva3D& scene, const MeshObjectX& object, const FrameChoice& choice);
// Streams the blend of the chosen frames (and the rest, when it changed) and returns the
// layout that draws them. The current vertices keep their positions and normals until
// a later draw catches up.
VertexLayout StreamBlendedMotion(const Diveduva3D& scene, MeshObjectX& object, const FrameChoice& choice);

// Points the vertex, texture coordinate, colour and normal arrays at the layout, with
// the texture units the effect mode needs (bump: the dot-product combiner; cel: the
// object's cel texture on unit 1) and sphere mapping where the scene asks for it.
void SetUpArrays(Diveduva3D& scene, MeshObjectX& object, const VertexLayout& layout);
// Turns the arrays and texture generation off again and leaves both units modulating;
// celUnit also turns texturing on unit 1 off.
void TearDownArrays(Diveduva3D& scene, bool celUnit);
