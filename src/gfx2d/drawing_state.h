#pragma once
// The 2D drawing state the renderer keeps between commands: the texture binding last made
// and the polygon being built.

#include <cstdint>
#include <vector>

#include <GL/gl.h>

class OpenGLDiveduva;

struct PolygonVertex {
  float x, y, u, v, red, green, blue, alpha;  // 32 bytes: the vertex-array stride
};

struct Drawing2DState {
  int currentSlot = 0;  // texture binding last made by BindSpriteTexture
  int secondSlot = -1;
  bool useMip = false;
  // True while the engine knows that texture unit 1 is off and unit 0 is the active unit.
  // Switching units makes the GL implementation flush the vertices gathered so far, so
  // sprites drawn one after another skip the switch. Every frame starts unknown.
  bool secondUnitOff = false;
  int polygonSlot = -1;  // texture slot of the polygon being built, -1 for none
  std::vector<PolygonVertex> polygonVertices;
};

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
