#pragma once
// Typed characters: the reads of the typed-key queue (typed_key_queue.h) that text entry,
// the key wait and the movie's skip test share, so a key that ends one command is not
// seen again by the next.

#include <cstdint>

class InputManager;

// Characters with a meaning of their own in text entry.
inline constexpr int kBackspaceChar = 8;
inline constexpr int kLineFeedChar = 10;

// Takes the key events still queued, then the oldest typed character from the queue; 0
// when none is waiting. One character per call, in the order typed.
int ReadTypedChar(InputManager& input);
int ReadTypedChar();
// ReadTypedChar, but 1 for a typed character and 0 for none.
int AnyKeyTyped();

// For a command that a new key or mouse click ends (a movie): keys typed before it and
// the mouse buttons pressed so far do not count, nor does a key or button still held
// from before; the next key typed or button pressed does.
struct KeyOrClickWatch {
  std::uint64_t buttonPresses = 0;
};
// Drops the typed keys waiting and notes the mouse presses so far.
KeyOrClickWatch StartKeyOrClickWatch();
// True when a key was typed (taken from the queue, as AnyKeyTyped takes it) or a mouse
// button went down since the watch started.
bool KeyOrClickSince(const KeyOrClickWatch& watch);
