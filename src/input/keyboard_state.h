#pragma once
// The keyboard as the engine sees it: which keys are down, by key number (scan_codes.h).
//
// Key events from SDL keep a live state; a snapshot of it is what games and the frame
// loop read. A key pressed and released again before the frame loop's next snapshot
// still shows as down in every snapshot up to and including that one, so a quick tap is
// seen by the frame loop's Escape check even when the game polled the keyboard in
// between, and never lost between two frames.

#include <array>
#include <cstdint>

#include "input/scan_codes.h"

class KeyboardState {
 public:
  // Value of a key that is down in the snapshot (bit 7, as the device state reports it).
  static constexpr std::uint8_t kDown = 0x80;

  // One key went down (down = true) or up. Key number 0 names no key and is ignored.
  void ApplyKey(int scanCode, bool down);
  // Forgets every held key (all keys up), e.g. when the keyboard is given back.
  void ReleaseAll();
  // Takes a snapshot: a key is down in it when it is held now or was pressed since the
  // last frame snapshot.
  void TakeSnapshot();
  // The frame loop's snapshot: as TakeSnapshot, and presses from here on count for the
  // next frame.
  void TakeFrameSnapshot();

  // True when the key is down in the snapshot; only the low 8 bits of scanCode count.
  bool IsDown(int scanCode) const { return (snapshot_[static_cast<std::uint8_t>(scanCode)] & kDown) != 0; }
  // True when the key is held now, whatever the snapshot says (the live state that key
  // events keep).
  bool IsHeld(int scanCode) const { return (held_[static_cast<std::uint8_t>(scanCode)] & kDown) != 0; }
  // True when any key numbered first .. last (inclusive) is down in the snapshot.
  bool AnyDown(int first, int last) const;
  // The whole snapshot: kDown for keys that are down, else 0.
  const std::array<std::uint8_t, kKeyCount>& Snapshot() const { return snapshot_; }

 private:
  std::array<std::uint8_t, kKeyCount> held_{};
  std::array<std::uint8_t, kKeyCount> pressedSinceFrame_{};
  std::array<std::uint8_t, kKeyCount> snapshot_{};
};
