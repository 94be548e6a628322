#include "input/keyboard_state.h"

#include <algorithm>

void KeyboardState::ApplyKey(int scanCode, bool down) {
  if (scanCode <= key::kNone || scanCode >= kKeyCount) return;
  const auto index = static_cast<std::size_t>(scanCode);
  held_[index] = down ? kDown : 0;
  if (down) pressedSinceFrame_[index] = kDown;
}

void KeyboardState::ReleaseAll() { held_.fill(0); }

void KeyboardState::TakeSnapshot() {
  for (std::size_t i = 0; i < snapshot_.size(); ++i) {
    snapshot_[i] = static_cast<std::uint8_t>(held_[i] | pressedSinceFrame_[i]);
  }
}

void KeyboardState::TakeFrameSnapshot() {
  TakeSnapshot();
  pressedSinceFrame_.fill(0);
}

bool KeyboardState::AnyDown(int first, int last) const {
  first = std::max(first, 0);
  last = std::min(last, kKeyCount - 1);
  for (int code = first; code <= last; ++code) {
    if (snapshot_[static_cast<std::size_t>(code)] & kDown) return true;
  }
  return false;
}
