// The editing and cursor rules of line input, one frame's character at a time.

#include <gtest/gtest.h>

#include "input/line_editor.h"
#include "input/typed_characters.h"

namespace {

TEST(LineEditorTest, CharactersAppendAndLineFeedEndsWithoutBeingAdded) {
  BasicString text = "ab";
  LineEditor editor(text);
  EXPECT_TRUE(editor.Apply('c'));
  EXPECT_TRUE(editor.Apply(0));
  EXPECT_TRUE(editor.Apply(0xE9));  // a byte above 127 is a character like any other
  EXPECT_FALSE(editor.Apply(kLineFeedChar));
  EXPECT_EQ(text.View(), "abc\xE9");
}

TEST(LineEditorTest, BackspaceTakesBackOneCharacterAndStopsAtEmpty) {
  BasicString text = "xy";
  LineEditor editor(text);
  editor.Apply(kBackspaceChar);
  EXPECT_EQ(text.View(), "x");
  editor.Apply(kBackspaceChar);
  editor.Apply(kBackspaceChar);
  editor.Apply(kBackspaceChar);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(text.Length(), 0u);
  editor.Apply('z');
  EXPECT_EQ(text.View(), "z");
}

TEST(LineEditorTest, CursorTurnsOnAfter21IdleFramesAndOffAfter21More) {
  BasicString text;
  LineEditor editor(text);
  for (int frame = 1; frame <= 20; ++frame) {
    editor.Apply(0);
    EXPECT_FALSE(editor.CursorShown()) << "frame " << frame;
  }
  EXPECT_EQ(editor.Shown().View(), "");
  editor.Apply(0);
  EXPECT_TRUE(editor.CursorShown());
  EXPECT_EQ(editor.Shown().View(), "_");
  EXPECT_TRUE(text.IsEmpty());  // the cursor is shown, never stored
  for (int frame = 1; frame <= 20; ++frame) editor.Apply(0);
  EXPECT_TRUE(editor.CursorShown());
  editor.Apply(0);
  EXPECT_FALSE(editor.CursorShown());
}

TEST(LineEditorTest, TypingDoesNotRestartTheBlinkCount) {
  BasicString text;
  LineEditor editor(text);
  for (int frame = 0; frame < 10; ++frame) editor.Apply(0);
  editor.Apply('a');
  editor.Apply(kBackspaceChar);
  for (int frame = 0; frame < 10; ++frame) editor.Apply(0);
  EXPECT_FALSE(editor.CursorShown());
  editor.Apply(0);  // the 21st frame without a character
  EXPECT_TRUE(editor.CursorShown());
  EXPECT_EQ(editor.Shown().View(), "_");
}

}  // namespace
