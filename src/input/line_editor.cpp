#include "input/line_editor.h"

#include "input/typed_characters.h"

bool LineEditor::Apply(int character) {
  if (character == kLineFeedChar) return false;
  if (character == kBackspaceChar) {
    if (!text_.IsEmpty()) text_.TruncateText(text_.Length() - 1);
  } else if (character != 0) {
    const char byte = static_cast<char>(character);
    text_.AppendBytes(&byte, 1);
  } else if (++idleFrames_ > kBlinkFrames) {
    cursorShown_ = !cursorShown_;
    idleFrames_ = 0;
  }
  return true;
}

BasicString LineEditor::Shown() const {
  BasicString shown = text_;
  if (cursorShown_) shown.AppendBytes("_", 1);
  return shown;
}
