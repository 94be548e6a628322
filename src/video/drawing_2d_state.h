#pragma once
// The 2D drawing state the renderer keeps between commands: the texture binding last made
// and the polygon being built. The 2D floor above works on it (gfx2d/drawing_state.h).

#include <vector>

struct PolygonVertex {
  float x, y, u, v, red, green, blue, alpha;  // 32 bytes: the vertex-array stride
};

// The texture extent of the last sprite picture size seen: a sprite's far texture
// corner is imageWidth / paddedWidth and imageHeight / paddedHeight, and two divisions
// per sprite are a good part of the cost of drawing one.
struct SpriteExtentMemo {
  int imageWidth = 0, paddedWidth = 0, imageHeight = 0, paddedHeight = 0;
  float right = 0, top = 0;
};

struct Drawing2DState {
  SpriteExtentMemo spriteExtent;
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
