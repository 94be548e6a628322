#pragma once
// The 2D drawing state the renderer keeps between commands: the texture binding last made
// and the polygon being built. The 2D floor above works on it (gfx2d/drawing_state.h).

#include <vector>

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
