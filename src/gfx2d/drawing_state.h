#pragma once
// Texture binding of the 2D commands on the renderer's 2D drawing state.

#include <GL/gl.h>

#include "video/drawing_2d_state.h"
#include "video/quad_batch.h"

class OpenGLDiveduva;

// Binds the slot's texture for drawing (its mipmapped texture with useMip). A negative
// slot turns texturing off. With multitexturing and a second slot of 0 or more, unit 0
// gets the second slot and unit 1 the first. With a name table the slot numbers index
// that table instead of the texture slots.
void BindSpriteTexture(OpenGLDiveduva& renderer, int slot, int secondSlot, bool useMip,
                       const GLuint* nameTable = nullptr, int nameCount = 0);

// Turns texture unit 1 off and makes unit 0 the active unit (nothing to do when the
// engine already left them so).
void DisableSecondUnit(OpenGLDiveduva& renderer);

// Saves the texture binding, turns texturing off for a solid primitive and restores the
// binding when it goes out of scope.
class UntexturedDrawing {
 public:
  explicit UntexturedDrawing(OpenGLDiveduva& renderer);
  ~UntexturedDrawing();
  UntexturedDrawing(const UntexturedDrawing&) = delete;
  UntexturedDrawing& operator=(const UntexturedDrawing&) = delete;

 private:
  OpenGLDiveduva& renderer_;
  Drawing2DState saved_;
};

// Keeps the 2D texture binding across a read-back or upload and restores it at the end
// of the scope; the pending 2D batch is drawn first.
class TextureBindingKeeper {
 public:
  TextureBindingKeeper() {
    FlushEngineQuadBatch();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous_);
  }
  ~TextureBindingKeeper() { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous_)); }

 private:
  GLint previous_ = 0;
};
