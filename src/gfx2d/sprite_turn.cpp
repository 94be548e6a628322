#include "gfx2d/sprite_turn.h"

#include <cmath>
#include <numbers>

namespace {

// product = a * b for column-major 4 x 4 matrices, each element summed left to right.
void Multiply(const float a[16], const float b[16], float product[16]) {
  for (int row = 0; row < 4; ++row) {
    const float a0 = a[row], a1 = a[4 + row], a2 = a[8 + row], a3 = a[12 + row];
    for (int column = 0; column < 4; ++column) {
      const float* b_ = b + column * 4;
      product[column * 4 + row] = a0 * b_[0] + a1 * b_[1] + a2 * b_[2] + a3 * b_[3];
    }
  }
}

}  // namespace

SpriteTurn SpriteTurnOf(const float projection[16], float angleDegrees, float centreX, float centreY) {
  // The sine and cosine of the angle taken to single precision after the conversion to
  // radians in double precision.
  const float radians = static_cast<float>(angleDegrees * std::numbers::pi / 180.0);
  const float cosine = std::cos(radians), sine = std::sin(radians);
  // Move then turn: their product is exact, every term but one being 0 or 1.
  const float modelView[16] = {cosine, sine, 0, 0, -sine, cosine, 0, 0, 0, 0, 1, 0, centreX, centreY, 0, 1};
  SpriteTurn turn;
  Multiply(projection, modelView, turn.matrix);
  return turn;
}

void TurnSpriteCorner(const SpriteTurn& turn, float x, float y, float out[3]) {
  const float* m = turn.matrix;
  for (int row = 0; row < 3; ++row) out[row] = m[row] * x + m[4 + row] * y + m[12 + row];
}
