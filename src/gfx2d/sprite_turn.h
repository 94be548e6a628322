#pragma once
// The arithmetic of turned sprites, done on the processor so that turned sprites join the
// 2D batch. A turned sprite's corners are taken to clip space by the product of the 2D
// projection, a move to the sprite's centre and a turn about the screen's z axis, with
// single-precision products and sums in the order the matrix stacks combine the three
// matrices. The GL implementation's own vertex arithmetic may round differently: texel
// weights can then differ in the last bit from a sprite turned by the matrix stacks.

struct SpriteTurn {
  float matrix[16];  // column after column, as GL stores matrices
};

// projection: the current 2D projection matrix as GL returns it.
SpriteTurn SpriteTurnOf(const float projection[16], float angleDegrees, float centreX, float centreY);

// The corner (x, y), given relative to the sprite's centre, in clip space (x, y, z; w
// is 1 for the 2D projection).
void TurnSpriteCorner(const SpriteTurn& turn, float x, float y, float out[3]);
