#pragma once
// Text entry commands: the typed key, the wait for a key, and line input drawn over a
// frozen copy of the screen with a blinking cursor.

#include "core/basic_string.h"
#include "input/line_editor.h"

class OpenGLDiveduva;

// A one-character text of the oldest typed character not yet read, or the empty text.
BasicString ReadTypedKey();
// Waits, handling the window, until a key types a character, and takes that one
// character; keys typed after it wait for the next read. Returns at once without an
// input manager.
void WaitForKey();
// Shows text at (x, y) with the current font and lets the player edit it until Return
// or keypad Enter; text holds the line without the line feed. The screen under the text
// is the one the game had drawn when the call began, restored every frame.
void InputText(BasicString& text, double x, double y);
// InputText from an empty text, then the text as a number (0 when it holds none).
void InputNumber(double& number, double x, double y);

// One line input on the screen: the screen is saved into background set 3 and the text
// drawn over it when it starts; each Frame (after a presented frame) reads one typed
// character, edits the text and draws set 3 with the text and cursor again. Set 3 is
// cleared when it ends.
class TextEntrySession {
 public:
  static constexpr int kSavedScreenSet = 3;

  TextEntrySession(OpenGLDiveduva& renderer, BasicString& text, double x, double y);
  ~TextEntrySession();
  TextEntrySession(const TextEntrySession&) = delete;
  TextEntrySession& operator=(const TextEntrySession&) = delete;

  // False when the line ended (nothing is drawn then).
  bool Frame();
  const LineEditor& Editor() const { return editor_; }

 private:
  OpenGLDiveduva& renderer_;
  LineEditor editor_;
  double left_;
  double top_;
};
