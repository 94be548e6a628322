#pragma once
// The arithmetic of turned sprites: a rotation about the screen's z axis followed by a
// move to the sprite's centre, done on the processor so that turned sprites join the 2D
// batch. The sine and cosine are those of the angle in degrees taken to single precision
// after the conversion to radians, and each corner is turned with single-precision
// products and sums in the order a 4 x 4 matrix applies them.

struct SpriteTurn {
  float cosine = 1;
  float sine = 0;
  float x = 0;  // the centre the turned corners are moved to
  float y = 0;
};

SpriteTurn SpriteTurnOf(float angleDegrees, float centreX, float centreY);

// The corner (x, y), given relative to the sprite's centre, turned and moved.
void TurnSpriteCorner(const SpriteTurn& turn, float x, float y, float out[2]);
