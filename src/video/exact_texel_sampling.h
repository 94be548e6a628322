#pragma once
// Quads drawn one texel per pixel from whole-pixel corners sample every pixel at a texel
// centre. There linear filtering returns that texel unchanged, so nearest filtering gives
// the same pixels for a fraction of the work on a software rasteriser, which spends most
// of a sprite's time filtering. 2D runs of such quads sample through a nearest sampler
// object on texture unit 0, but only while the matrices and the viewport are those the 2D
// viewport set: a game's own transform would make the quads land off the texel grid.
//
// Binding and unbinding a sampler costs a software rasteriser microseconds, so the sampler
// stays bound from one 2D run to the next while they want it or do not sample at all; it
// is unbound when a textured run that filters opens, and by FlushQuadBatch, so every GL
// user outside the 2D batch finds unit 0 sampling through its textures' own filters.

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

class OpenGLDiveduva;

struct ExactTexelSampling {
  bool enabled = true;  // off: every run samples through its texture's own filters (tests)
  bool bound = false;   // the sampler is bound to unit 0 for the open run
  GLuint sampler = 0;
  SDL_GLContext samplerContext = nullptr;  // the context the sampler was made in
  GLfloat projection[16] = {};             // the projection and viewport of 2D drawing
  GLint viewport[4] = {};
};

// Notes the projection and viewport just set for 2D drawing. Needs a current context.
void RememberViewport2D(ExactTexelSampling& sampling);
// Binds the nearest sampler to unit 0 when quads drawn one texel per pixel in 2D
// coordinates land one texel per pixel on the screen: sampling on, sampler objects
// offered, the model-view and texture matrices identities, the projection and viewport
// those of 2D drawing. Otherwise binds nothing. Does nothing while it is still bound.
void BindExactTexelSampler(OpenGLDiveduva& renderer);
// Unbinds the sampler when BindExactTexelSampler bound it.
void UnbindExactTexelSampler(OpenGLDiveduva& renderer);
