#include "gfx2d/sprite_turn.h"

#include <cmath>
#include <numbers>

SpriteTurn SpriteTurnOf(float angleDegrees, float centreX, float centreY) {
  const float radians = static_cast<float>(angleDegrees * std::numbers::pi / 180.0);
  return SpriteTurn{std::cos(radians), std::sin(radians), centreX, centreY};
}

void TurnSpriteCorner(const SpriteTurn& turn, float x, float y, float out[2]) {
  // A row of the move-and-turn matrix times (x, y, 0, 1), left to right.
  out[0] = turn.cosine * x + -turn.sine * y + turn.x;
  out[1] = turn.sine * x + turn.cosine * y + turn.y;
}
