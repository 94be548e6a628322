#pragma once
// The arithmetic of turned sprites, done on the processor so that turned sprites join the
// 2D batch with the plain ones: a turn about the screen's z axis followed by a move to the
// sprite's centre, as the model-view matrix once held them. The sine and cosine are those
// of the angle taken to single precision after the conversion to radians in double
// precision, and each corner takes the single-precision products and sums of a matrix
// row. The GL implementation multiplies the projection in afterwards instead of before,
// so texel weights can differ in the last bit from a sprite turned by the matrix stack.

struct SpriteTurn {
  float cosine = 1;
  float sine = 0;
  float x = 0;  // the centre the turned corners are moved to
  float y = 0;
};

SpriteTurn SpriteTurnOf(float angleDegrees, float centreX, float centreY);

// The corner (x, y), given relative to the sprite's centre, turned and moved.
void TurnSpriteCorner(const SpriteTurn& turn, float x, float y, float out[2]);
