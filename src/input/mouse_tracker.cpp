#include "input/mouse_tracker.h"

#include <SDL2/SDL_mouse.h>

namespace {

std::uint8_t ButtonBit(int sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return kLeftButtonBit;
    case SDL_BUTTON_RIGHT:
      return kRightButtonBit;
    case SDL_BUTTON_MIDDLE:
      return kMiddleButtonBit;
    default:
      return 0;
  }
}

}  // namespace

void MouseTracker::ApplyMotion(int x, int y, int xrel, int yrel) {
  cursorX_ = x;
  cursorY_ = y;
  pending_.dx += xrel;
  pending_.dy += yrel;
}

void MouseTracker::ApplyButton(int sdlButton, bool down) {
  const std::uint8_t bit = ButtonBit(sdlButton);
  if (down) {
    if (bit != 0) ++presses_;
    held_ |= bit;
    pressedSinceRead_ |= bit;
  } else {
    held_ &= static_cast<std::uint8_t>(~bit);
  }
}

void MouseTracker::ApplyWheel(int steps) { pending_.wheel += steps; }

MouseTracker::Motion MouseTracker::TakeMotion() {
  const Motion motion = pending_;
  pending_ = Motion{};
  return motion;
}

std::uint8_t MouseTracker::ReadButtons(bool newFrame) {
  if (newFrame) frameButtons_ = 0;
  frameButtons_ |= pressedSinceRead_;
  pressedSinceRead_ = 0;
  return held_ | frameButtons_;
}
