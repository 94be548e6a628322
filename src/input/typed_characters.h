#pragma once
// Typed characters from the keyboard snapshot. A key's character comes from the user's
// keyboard layout, looked up by the key's position, so typing follows the layout; only
// Shift is applied here, and only to the letters a to z. A key held down types its
// character once: it types again after a read that saw something else (normally no key).

#include <SDL2/SDL_keycode.h>

class InputManager;
class KeyboardState;

// Characters with a meaning of their own in text entry.
inline constexpr int kBackspaceChar = 8;
inline constexpr int kLineFeedChar = 10;

// The character the key (engine key number) types without modifiers, or 0: Backspace
// gives 8, Return and keypad Enter give 10, the modifier and lock keys give 0, every
// other key what the layout puts on it (0 for keys without a character).
int ScanCodeToChar(int scanCode);

// The character of a layout's key code: 8, 10 and the printable characters up to 255
// (Latin-1); 0 for control characters, Delete, keys without a character and characters
// beyond one byte. The keypad's *, - and + keys type their characters; its digit and
// point keys type nothing, as they name navigation keys whatever Num Lock says.
int CharacterOfKeycode(SDL_Keycode keycode);

// The character the snapshot types: the lowest-numbered key (0 .. 254) that is down and
// has a character decides; a letter a..z becomes upper case while either Shift is down.
// 0 when no such key is down.
int TypedCharacterOf(const KeyboardState& keyboard);

// Takes a keyboard snapshot within the frame and returns the character typed since the
// last call, or 0 (also when it is the character the last call saw). A key pressed since
// the frame loop's last snapshot counts as down until its next one, so a quick tap is
// typed once.
int ReadTypedChar(InputManager& input);
int ReadTypedChar();
// ReadTypedChar, but 1 for a typed character and 0 for none.
int AnyKeyTyped();
