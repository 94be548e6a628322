#pragma once
// The GL set-ups the 2D commands open batch runs with (see video/quad_batch.h): each
// opener closes the run before it, sets GL up as the command drawing at once would, and
// hands the batch the step that undoes it. A command whose set-up equals the open run's
// appends its vertices and makes no GL call at all.

#include <cstdint>

#include "video/quad_batch.h"
#include "video/texture_store.h"

class OpenGLDiveduva;

// The set-ups, numbered for the batch key.
enum BatchSetUp : std::uint16_t {
  kSpriteSetUp = 1,
  kExactTexelSetUp,  // sprite quads drawn one texel per pixel (see exact_texel_sampling.h)
  kMirroredSpriteSetUp,
  kBackgroundSetUp,
  kSolidSetUp,
  kTexturedPolygonSetUp,
  kUntexturedPolygonSetUp,
};

// Opens a run of sprite quads (see AppendSpriteQuads).
float* OpenSpriteRun(OpenGLDiveduva& renderer, QuadBatch& batch, const BatchKey& key, int slot, int count);

// The vertices of count / 4 textured quads (x, y, z, u, v each) of a sprite slot's
// plain texture, under kSpriteSetUp, kExactTexelSetUp or kMirroredSpriteSetUp. Mirrored
// quads are drawn with the front face turned.
inline float* AppendSpriteQuads(OpenGLDiveduva& renderer, QuadBatch& batch, const TextureSlot& entry, int slot,
                                BatchSetUp setUp, int count) {
  const BatchKey key{BatchPrimitive::kQuads, BatchFormat::kTextured, setUp, entry.texture};
  if (ContinueBatch(batch, key)) return AppendBatchVertices(renderer, batch, count);
  return OpenSpriteRun(renderer, batch, key, slot, count);
}
// The same for the glyph quads of a font slot (font textures sample nearest texels).
float* AppendGlyphQuads(OpenGLDiveduva& renderer, int slot, int count);
// The quad of one background tile, drawn one texel per pixel: alpha test off, the tile's
// texture.
float* AppendBackgroundQuad(OpenGLDiveduva& renderer, GLuint texture);
// Solid primitives (x, y, z, u, v, red, green, blue, alpha each): texturing and the alpha
// test off, shifted by 3/8 pixel so that whole coordinates hit pixel centres.
float* AppendSolidVertices(OpenGLDiveduva& renderer, BatchPrimitive primitive, int count);
// One polygon of count corners, smoothly shaded, of a texture slot or untextured (-1).
float* AppendPolygonVertices(OpenGLDiveduva& renderer, int slot, int count);

// Writes one vertex of the coloured layout and returns the position after it.
inline float* PutColouredVertex(float* at, float x, float y, float u, float v, const float colour[4]) {
  at[0] = x;
  at[1] = y;
  at[2] = 0;
  at[3] = u;
  at[4] = v;
  at[5] = colour[0];
  at[6] = colour[1];
  at[7] = colour[2];
  at[8] = colour[3];
  return at + kColouredFloats;
}

// Writes one vertex of the textured layout and returns the position after it.
inline float* PutTexturedVertex(float* at, float x, float y, float z, float u, float v) {
  at[0] = x;
  at[1] = y;
  at[2] = z;
  at[3] = u;
  at[4] = v;
  return at + kTexturedFloats;
}

// Writes the textured quad of the fan (left, bottom), (right, bottom), (right, top),
// (left, top) with texture corners (u0, v0) to (u1, v1), appended from the fan's second
// corner so that it splits as the fan does (see BatchPrimitive::kQuads).
inline float* PutTexturedRect(float* at, float left, float bottom, float right, float top, float u0, float v0, float u1,
                              float v1) {
  at = PutTexturedVertex(at, right, bottom, 0, u1, v0);
  at = PutTexturedVertex(at, right, top, 0, u1, v1);
  at = PutTexturedVertex(at, left, top, 0, u0, v1);
  return PutTexturedVertex(at, left, bottom, 0, u0, v0);
}
