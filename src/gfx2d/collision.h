#pragma once
// Collision tests between rectangles and between the opaque pixels of two sprites.

#include <cstdint>

// 1 when the rectangles overlap or touch (sizes may be negative), else 0.
double BoxCollision(double x1, double y1, double w1, double h1, double x2, double y2, double w2, double h2);
// 1 when opaque pixels of the two sprites at their positions overlap, else 0.
double SpriteCollision(double slot1, double x1, double y1, double slot2, double x2, double y2);

// One sprite's collision mask placed on the screen: paddedWidth bytes per texture row,
// texture row 0 holding the picture's bottom row.
struct PlacedMask {
  const std::uint8_t* mask;
  int paddedWidth;
  int x, y;
  int imageWidth, imageHeight;
};

// True when a screen pixel is non-zero in both masks. The overlap is scanned in four
// passes (even/odd columns and rows) so large overlaps are found after few reads.
bool MasksOverlap(const PlacedMask& first, const PlacedMask& second);
