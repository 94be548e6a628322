#pragma once
// Quads drawn one texel per pixel from whole-pixel corners sample every pixel at a texel
// centre. There linear filtering returns that texel unchanged, so nearest filtering gives
// the same pixels for a fraction of the work on a software rasteriser, which spends most
// of a sprite's time filtering. A 2D run of such quads switches its texture's filters to
// nearest, but only while the matrices and the viewport are those the 2D viewport set: a
// game's own transform would make the quads land off the texel grid.
//
// Changing filters costs a software rasteriser tens of microseconds, so a switched texture
// keeps its nearest filters from run to run and from frame to frame. It gets its own
// filters back when a run that filters opens on it, and every texture does on
// FlushQuadBatch, so a GL user outside the 2D batch (3D drawing, a game's own GL) always
// finds the filters the texture was made with.

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <vector>

class OpenGLDiveduva;

struct ExactTexelSampling {
  struct Switched {
    GLuint texture;
    GLint minFilter, magFilter;  // the texture's own filters
  };
  bool enabled = true;  // off: every texture samples through its own filters (tests)
  std::vector<Switched> switched;  // textures whose filters are nearest for 2D drawing
  SDL_GLContext context = nullptr;  // the context the switched textures belong to
  bool matricesAre2D = false;  // found so since the last FlushQuadBatch
  GLfloat projection[16] = {};  // the projection and viewport of 2D drawing
  GLint viewport[4] = {};
};

// Notes the projection and viewport just set for 2D drawing. Needs a current context.
void RememberViewport2D(ExactTexelSampling& sampling);
// For a run of quads drawn one texel per pixel in 2D coordinates, with texture bound to
// unit 0: switches the texture to nearest filters when the quads land one texel per pixel
// on the screen (sampling on, the model-view and texture matrices identities, the
// projection and viewport those of 2D drawing); otherwise gives it its own filters.
void SampleExactTexels(OpenGLDiveduva& renderer, GLuint texture);
// For a run that filters texture, bound to unit 0: gives it its own filters back.
void SampleFiltered(OpenGLDiveduva& renderer, GLuint texture);
// Gives every switched texture its own filters back, keeping unit 0's binding; and
// forgets that the matrices were found 2D.
void RestoreTextureFilters(OpenGLDiveduva& renderer);
