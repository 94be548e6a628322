#pragma once
// The mouse between two reads: SDL's mouse events accumulate here until the engine
// measures a mouse frame (input_manager.h).

#include <cstdint>

// What a mouse read fills: six signed 16-bit values in this order. Buttons are 0 when up
// and kMouseButtonDown when down; dx and dy are the motion of the current mouse frame in
// pixels, wheel is -1, 0 or 1 (1 = turned away from the user).
struct MouseState {
  std::int16_t left = 0;
  std::int16_t right = 0;
  std::int16_t middle = 0;
  std::int16_t dx = 0;
  std::int16_t dy = 0;
  std::int16_t wheel = 0;
};

inline constexpr std::int16_t kMouseButtonDown = 128;

// Button bits of MouseTracker.
inline constexpr std::uint8_t kLeftButtonBit = 1;
inline constexpr std::uint8_t kRightButtonBit = 2;
inline constexpr std::uint8_t kMiddleButtonBit = 4;

class MouseTracker {
 public:
  struct Motion {
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    std::int64_t wheel = 0;
  };

  // A motion event: the cursor's position in the window and the relative motion.
  void ApplyMotion(int x, int y, int xrel, int yrel);
  // A button event; buttons other than left, right and middle are ignored.
  void ApplyButton(int sdlButton, bool down);
  // Wheel steps, positive away from the user.
  void ApplyWheel(int steps);

  // The relative motion and wheel steps since the previous call, then starts afresh.
  Motion TakeMotion();
  // Forgets the motion gathered so far (the cursor position stays).
  void DiscardMotion() { pending_ = Motion{}; }

  // The buttons a read reports, as button bits: those held now and those pressed since
  // the mouse frame began (newFrame = true begins one), so a click shorter than the time
  // between two reads is still reported, for the whole frame in which it is first read.
  std::uint8_t ReadButtons(bool newFrame);

  // How many times the left, right or middle button went down so far.
  std::uint64_t ButtonPresses() const { return presses_; }

  // The last cursor position in window coordinates.
  int CursorX() const { return cursorX_; }
  int CursorY() const { return cursorY_; }
  void SetCursor(int x, int y) {
    cursorX_ = x;
    cursorY_ = y;
  }

 private:
  Motion pending_;
  int cursorX_ = 0;
  int cursorY_ = 0;
  std::uint8_t held_ = 0;
  std::uint8_t pressedSinceRead_ = 0;
  std::uint8_t frameButtons_ = 0;
  std::uint64_t presses_ = 0;
};
