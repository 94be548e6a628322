#pragma once
// The keys the player typed, in the order typed, waiting for the game's typed-character
// reads. Each press is queued as it arrives, so none is lost however many fall into one
// frame, and a key pressed while another is still held types like any other.
//
// Characters come from the window system's text input, which applies the user's layout
// with all its modifiers (Shift, AltGr, Caps Lock, dead keys); Backspace, Return and
// keypad Enter have no text and type from their key presses. A key held down types once:
// its auto-repeated presses and the text they bring are ignored.
//
// Keys nobody asks for do not pile up: a key that no read has asked for during the
// kUnreadFrameLimit frames after it was typed is dropped, so the keys a game steered by
// the key snapshot saw do not answer its next WaitForKey.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>

class TypedKeyQueue {
 public:
  // Presented frames a key waits for a read before it is dropped.
  static constexpr std::uint64_t kUnreadFrameLimit = 4;
  // Keys held at most; presses beyond are dropped, as a full keyboard buffer does.
  static constexpr std::size_t kCapacity = 256;

  // A key went down (engine key number; repeat: an auto-repeated press). Backspace types
  // 8, Return and keypad Enter type 10; other keys type through Text.
  void KeyDown(int scanCode, bool repeat);
  // The text the layout made of the last key press, UTF-8. Each character of one byte
  // (Latin-1, from 32 up, Delete excepted) is typed; a letter a..z becomes upper case
  // while shiftHeld. Other characters and malformed bytes type nothing.
  void Text(std::string_view utf8, bool shiftHeld);

  // The oldest typed character, taken from the queue; 0 when none is waiting.
  int Take();
  // A frame was presented: drops the keys that waited unread for too long.
  void FrameBoundary();
  // Drops every waiting key.
  void Clear() { entries_.clear(); }
  std::size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    std::uint8_t character;
    std::uint64_t frame;        // the frame it was typed in
    std::uint64_t readsBefore;  // reads made before it was typed
  };
  void Push(int character);

  std::deque<Entry> entries_;
  bool repeating_ = false;  // the last key press was auto-repeat: its text is not typed
  std::uint64_t frame_ = 0;
  std::uint64_t reads_ = 0;
};
