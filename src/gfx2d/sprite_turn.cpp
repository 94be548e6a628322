#include "gfx2d/sprite_turn.h"

#include <cmath>
#include <numbers>

SpriteTurn SpriteTurnOf(float angleDegrees, float centreX, float centreY) {
  const float radians = static_cast<float>(angleDegrees * std::numbers::pi / 180.0);
  return SpriteTurn{std::cos(radians), std::sin(radians), centreX, centreY};
}

void TurnSpriteCorner(const SpriteTurn& turn, float x, float y, float out[2]) {
  // Row times column, left to right: the z and w terms add exact zeros and the centre.
  out[0] = turn.cosine * x + -turn.sine * y + turn.x;
  out[1] = turn.sine * x + turn.cosine * y + turn.y;
}
