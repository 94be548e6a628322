#pragma once
// The editing rules of line input, one typed character per frame: line feed ends the
// line, Backspace takes back the last character, every other character is appended. The
// cursor blinks: it turns on or off after every 21 frames in a row without a character,
// counted whether or not keys were typed in between.

#include "core/basic_string.h"

class LineEditor {
 public:
  // Frames without a character after which the cursor changes: it turns after the 21st.
  static constexpr int kBlinkFrames = 20;

  // Edits text in place.
  explicit LineEditor(BasicString& text) : text_(text) {}

  // Applies one frame's character (0 for none). False when it ended the line.
  bool Apply(int character);
  bool CursorShown() const { return cursorShown_; }
  // The text followed by "_" while the cursor is shown.
  BasicString Shown() const;

 private:
  BasicString& text_;
  bool cursorShown_ = false;
  int idleFrames_ = 0;
};
