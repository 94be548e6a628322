#pragma once
// The 2D batch: consecutive 2D primitives drawn under one GL state gather their vertices
// here and reach GL in one draw call instead of one call sequence each.
//
// The rule that keeps it correct: the GL state a run of primitives was set up under stays
// untouched until the run is drawn. A 2D command that needs another state (texture,
// alpha test, front face, primitive kind) closes the run first (CloseBatchRun) and sets
// up its own; the frame swap and read-backs of the screen close it too. Everything else
// that touches GL (3D drawing, texture uploads, the viewport, alpha modes, a game's own
// GL calls) calls FlushQuadBatch first. Closing draws what is pending and undoes the
// run's own set-up; flushing also gives textures switched for exact texels their own
// filters back, which leaves GL as the 2D commands left it when they drew at once.

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class OpenGLDiveduva;

// How the pending vertices become primitives.
enum class BatchPrimitive : std::uint8_t {
  // Four corners each, drawn as GL quads: corners (a, b, c, d) become the triangles
  // (a, b, d) and (b, c, d), each rasterised from its first corner. A quad that stands for
  // a four-corner triangle fan (0, 1, 2, 3), split into (1, 2, 0) and (2, 3, 0), is
  // appended from its second corner: (1, 2, 3, 0) gives the fan's very triangles.
  kQuads,
  kFans,  // polygons of any corner count; ends marked with MarkBatchFan
  kLines,     // two ends each
  kPoints,
};

// The vertex layout of a run.
enum class BatchFormat : std::uint8_t {
  kTextured,  // x, y, z, u, v: drawn with the current colour
  kColoured,  // x, y, z, u, v, red, green, blue, alpha
};

inline constexpr int kTexturedFloats = 5;
inline constexpr int kColouredFloats = 9;
inline constexpr int kWatchedStateCount = 11;  // GL values the debug build compares
inline constexpr std::size_t kBatchDrawVertices = 4096;

// What a run of primitives depends on beyond the state every other GL user flushes for.
struct BatchKey {
  BatchPrimitive primitive = BatchPrimitive::kQuads;
  BatchFormat format = BatchFormat::kTextured;
  std::uint16_t setUp = 0;  // which set-up the opening command made (its own numbering)
  GLuint texture = 0;       // texture bound for the run

  bool operator==(const BatchKey&) const = default;
};

// Undoes the set-up a run was opened with, after its vertices were drawn.
using BatchCloseStep = void (*)(OpenGLDiveduva& renderer);

class QuadBatch {
 public:
  // Off: every command's primitives are drawn when the command ends (for tests and
  // debugging; the vertices and the GL state are those of the batched path).
  bool enabled = true;

  bool open = false;  // a run is set up in GL; key says which
  BatchKey key;
  BatchCloseStep closeStep = nullptr;
  int floatsPerVertex = kTexturedFloats;
  std::vector<float> vertices;  // grown ahead; the first floatCount floats hold the run
  std::size_t floatCount = 0;
  std::vector<GLuint> fanIndices;  // triangles of the kFans runs
  std::uint64_t drawCalls = 0;  // draw calls made by flushes since start (for tests and benchmarks)
#ifndef NDEBUG
  // GL state seen when the run opened, compared as it grows to find changes made behind
  // the batch's back.
  GLint watchedState[kWatchedStateCount] = {};
  bool reportedChange = false;
#endif
};

// True when a run is open under key: the caller appends without setting anything up.
inline bool ContinueBatch(const QuadBatch& batch, const BatchKey& key) { return batch.open && batch.key == key; }
// Starts a run under key after the caller flushed and set GL up for it; closeStep (may
// be null) is called after the run is drawn.
void OpenBatch(OpenGLDiveduva& renderer, const BatchKey& key, BatchCloseStep closeStep);
// Draws the pending vertices and keeps the run open (its GL state stays set up).
void DrawPendingBatch(OpenGLDiveduva& renderer);
// Makes the vertex array at least floats long (keeping what it holds).
void GrowBatch(QuadBatch& batch, std::size_t floats);

// Room for count more vertices of the open run; the caller fills all of them. A run
// that grew past kBatchDrawVertices is drawn first: smaller draws stay in the caches.
inline float* AppendBatchVertices(OpenGLDiveduva& renderer, QuadBatch& batch, int count) {
  const std::size_t floats = static_cast<std::size_t>(count) * static_cast<std::size_t>(batch.floatsPerVertex);
  if (batch.floatCount + floats > kBatchDrawVertices * static_cast<std::size_t>(batch.floatsPerVertex) &&
      batch.floatCount > 0) {
    DrawPendingBatch(renderer);
  }
  if (batch.floatCount + floats > batch.vertices.size()) GrowBatch(batch, batch.floatCount + floats);
  float* at = batch.vertices.data() + batch.floatCount;
  batch.floatCount += floats;
  return at;
}
// The number of vertices the open run holds.
inline int BatchVertexCount(const QuadBatch& batch) {
  return static_cast<int>(batch.floatCount / static_cast<std::size_t>(batch.floatsPerVertex));
}
// Marks the last count vertices appended as one polygon of a kFans run.
void MarkBatchFan(QuadBatch& batch, int count);
// Ends a command: with batching off its primitives are drawn now. In debug builds it
// also checks that nothing changed the run's GL state behind its back.
void FinishBatchedCommand(OpenGLDiveduva& renderer);
inline void EndBatchedCommand(OpenGLDiveduva& renderer, QuadBatch& batch) {
#ifdef NDEBUG
  if (batch.enabled) return;
#endif
  (void)batch;
  FinishBatchedCommand(renderer);
}

// Draws the pending primitives and closes the run; textures switched to nearest filters
// for exact-texel runs stay so (see exact_texel_sampling.h). The 2D run openers, read-backs
// of the screen and the frame's swap call it.
void CloseBatchRun(OpenGLDiveduva& renderer);
// CloseBatchRun, then gives the switched textures their own filters back: GL is left as
// if every 2D command had drawn at once. Every other GL user calls it first; it does
// nothing when no run is open and no texture is switched.
void FlushQuadBatch(OpenGLDiveduva& renderer);
// FlushQuadBatch on the engine's renderer, when there is one.
void FlushEngineQuadBatch();
