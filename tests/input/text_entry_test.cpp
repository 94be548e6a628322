// Typed characters and line input from key events as the window system delivers them,
// with the text read back from the offscreen GL surface.

#include <gtest/gtest.h>

#include <SDL2/SDL_opengl.h>

#include <array>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "gfx2d/font_commands.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/texture_loading.h"
#include "host/frame_present.h"
#include "input/scan_codes.h"
#include "input/text_entry.h"
#include "input/typed_characters.h"
#include "input_fixture.h"

namespace {

class TextEntry : public InputFixture {
 protected:
  void SetUp() override {
    InputFixture::SetUp();
    // Frames keep their pace: unpaced frames would queue more drawing than the software
    // renderer finishes, and the screen capture of a line input would wait for all of it.
    Engine().pauseWhenInactive = 0;  // the offscreen window never has the focus
    Subsystems().currentFont = 0;
    LoadFont("", 0);
  }

  // The read after the events so far, as ReadTypedKey's text.
  static std::string TypedKey() { return std::string(ReadTypedKey().View()); }
  // The frame loop's keyboard snapshot, as each frame takes it.
  static void NewFrame() { RefreshKeyboard(); }

  // PixelAt and kRed come from the renderer fixture.
  static constexpr Pixel kWhite{255, 255, 255, 255};

  // One frame of a line input: present, then the session's frame.
  bool NextFrame(TextEntrySession& session) {
    PresentFrame();
    return session.Frame();
  }
};

TEST_F(TextEntry, FixedKeysAndTheLayoutGiveTheCharacters) {
  EXPECT_EQ(ScanCodeToChar(key::kBackspace), 8);
  EXPECT_EQ(ScanCodeToChar(key::kReturn), 10);
  EXPECT_EQ(ScanCodeToChar(key::kKeypadEnter), 10);
  for (int modifier : {29, 42, 54, 56, 58, 69, 221}) EXPECT_EQ(ScanCodeToChar(modifier), 0) << modifier;
  // The offscreen driver has SDL's default (US) layout.
  EXPECT_EQ(ScanCodeToChar(key::kA), 'a');
  EXPECT_EQ(ScanCodeToChar(key::kZ), 'z');
  EXPECT_EQ(ScanCodeToChar(key::k1), '1');
  EXPECT_EQ(ScanCodeToChar(key::k0), '0');
  EXPECT_EQ(ScanCodeToChar(key::kSpace), ' ');
  EXPECT_EQ(ScanCodeToChar(key::kMinus), '-');
  EXPECT_EQ(ScanCodeToChar(key::kPeriod), '.');
  EXPECT_EQ(ScanCodeToChar(key::kKeypadMultiply), '*');
  EXPECT_EQ(ScanCodeToChar(key::kEscape), 0);
  EXPECT_EQ(ScanCodeToChar(key::kTab), 0);
  EXPECT_EQ(ScanCodeToChar(key::kF1), 0);
  EXPECT_EQ(ScanCodeToChar(key::kUp), 0);
  EXPECT_EQ(ScanCodeToChar(key::kDelete), 0);
  EXPECT_EQ(ScanCodeToChar(key::kKeypad7), 0);
  EXPECT_EQ(ScanCodeToChar(0), 0);
  EXPECT_EQ(ScanCodeToChar(0xFF), 0);
}

TEST_F(TextEntry, AHeldKeyIsTypedOnceUntilReleasedAndPressedAgain) {
  PushKey(SDL_SCANCODE_A, true);
  EXPECT_EQ(TypedKey(), "a");
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  PushKey(SDL_SCANCODE_A, false);
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  PushKey(SDL_SCANCODE_A, true);
  EXPECT_EQ(TypedKey(), "a");
  NewFrame();
  PushKey(SDL_SCANCODE_A, false);
  EXPECT_EQ(TypedKey(), "");
  // A tap between two reads types its character once; it stays seen for the rest of
  // the frame, and is typed again only after a read without it.
  NewFrame();
  TapKey(SDL_SCANCODE_B);
  EXPECT_EQ(TypedKey(), "b");
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  TapKey(SDL_SCANCODE_B);
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  TapKey(SDL_SCANCODE_B);
  EXPECT_EQ(TypedKey(), "b");
}

TEST_F(TextEntry, TheLowerKeyNumberDecidesWhenTwoKeysAreDown) {
  PushKey(SDL_SCANCODE_A, true);  // key 30
  EXPECT_EQ(TypedKey(), "a");
  NewFrame();
  PushKey(SDL_SCANCODE_B, true);  // key 48, while a is still down
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  PushKey(SDL_SCANCODE_A, false);
  EXPECT_EQ(TypedKey(), "b");
  // Keys without a character do not hide those after them: Escape (1) and Shift (42)
  // are passed over for the letter z (44).
  NewFrame();
  PushKey(SDL_SCANCODE_B, false);
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  PushKey(SDL_SCANCODE_ESCAPE, true);
  PushKey(SDL_SCANCODE_LSHIFT, true);
  EXPECT_EQ(TypedKey(), "");
  PushKey(SDL_SCANCODE_Z, true);
  EXPECT_EQ(TypedKey(), "Z");
}

TEST_F(TextEntry, ShiftMakesLettersUpperCaseAndLeavesOtherKeysToTheLayout) {
  PushKey(SDL_SCANCODE_LSHIFT, true);
  PushKey(SDL_SCANCODE_A, true);
  EXPECT_EQ(TypedKey(), "A");
  NewFrame();
  PushKey(SDL_SCANCODE_A, false);
  PushKey(SDL_SCANCODE_1, true);
  EXPECT_EQ(TypedKey(), "1");
  NewFrame();
  PushKey(SDL_SCANCODE_1, false);
  PushKey(SDL_SCANCODE_LSHIFT, false);
  PushKey(SDL_SCANCODE_RSHIFT, true);
  PushKey(SDL_SCANCODE_Q, true);
  EXPECT_EQ(TypedKey(), "Q");
  NewFrame();
  PushKey(SDL_SCANCODE_RSHIFT, false);
  PushKey(SDL_SCANCODE_Q, false);
  EXPECT_EQ(TypedKey(), "");
  NewFrame();
  PushKey(SDL_SCANCODE_Q, true);
  EXPECT_EQ(TypedKey(), "q");
}

TEST_F(TextEntry, AnyKeyTypedSharesTheLastTypedCharacter) {
  PushKey(SDL_SCANCODE_K, true);
  EXPECT_EQ(AnyKeyTyped(), 1);
  EXPECT_EQ(ReadTypedChar(), 0);  // the same character is not typed twice
  EXPECT_EQ(AnyKeyTyped(), 0);
  NewFrame();
  PushKey(SDL_SCANCODE_K, false);
  EXPECT_EQ(AnyKeyTyped(), 0);
  NewFrame();
  PushKey(SDL_SCANCODE_K, true);
  EXPECT_EQ(ReadTypedChar(), 'k');
  EXPECT_EQ(AnyKeyTyped(), 0);
}

TEST_F(TextEntry, WaitForKeyReturnsOnceAKeyIsTyped) {
  PushKey(SDL_SCANCODE_X, true);
  const auto start = std::chrono::steady_clock::now();
  WaitForKey();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(TypedKey(), "");  // the key still held is not typed again
}

TEST_F(TextEntry, ReturnAndKeypadEnterEndTheLineWithoutALineFeed) {
  BasicString text = "abc";
  PushKey(SDL_SCANCODE_RETURN, true);
  InputText(text, 10, 10);
  EXPECT_EQ(text.View(), "abc");
  PushKey(SDL_SCANCODE_RETURN, false);
  NewFrame();
  EXPECT_EQ(TypedKey(), "");
  PushKey(SDL_SCANCODE_KP_ENTER, true);
  InputText(text, 10, 10);
  EXPECT_EQ(text.View(), "abc");
  EXPECT_EQ(renderer->textures.backgrounds[TextEntrySession::kSavedScreenSet].columns, 0);  // set 3 cleared
}

TEST_F(TextEntry, TypedLineIsDrawnOverTheSavedScreenEveryFrame) {
  DrawRect(0, 0, 100, 40, 255);  // red, under the text and beside it
  BasicString text;
  TextEntrySession session(*renderer, text, 10.7, 20.9);  // drawn at (10, 20) once typing starts
  const std::pair<SDL_Scancode, bool> keys[] = {
      {SDL_SCANCODE_LSHIFT, true}, {SDL_SCANCODE_H, true},  {SDL_SCANCODE_H, false}, {SDL_SCANCODE_LSHIFT, false},
      {SDL_SCANCODE_X, true},      {SDL_SCANCODE_X, false}, {SDL_SCANCODE_BACKSPACE, true},
      {SDL_SCANCODE_BACKSPACE, false}, {SDL_SCANCODE_I, true}, {SDL_SCANCODE_I, false},
  };
  for (const auto& [scancode, down] : keys) {
    PushKey(scancode, down);
    ASSERT_TRUE(NextFrame(session));
  }
  EXPECT_EQ(text.View(), "Hi");
  // The frame shows the saved red screen with the white text on it: the H's left stem
  // is column 2 of its cell, rows 1 to 5.
  EXPECT_EQ(PixelAt(12, 21), kWhite);
  EXPECT_EQ(PixelAt(12, 25), kWhite);
  EXPECT_EQ(PixelAt(60, 30), kRed);
  EXPECT_EQ(PixelAt(10, 27), kRed);  // below the glyph, inside its cell
  PushKey(SDL_SCANCODE_RETURN, true);
  EXPECT_FALSE(NextFrame(session));
  EXPECT_EQ(text.View(), "Hi");
}

TEST_F(TextEntry, TheCursorAppearsAfter21FramesWithoutAKey) {
  BasicString text = "ab";
  TextEntrySession session(*renderer, text, 0, 0);
  // "_" lights row 5, columns 2 to 4 of its cell, the third cell here.
  for (int frame = 1; frame <= 20; ++frame) {
    ASSERT_TRUE(NextFrame(session));
    ASSERT_NE(PixelAt(16 + 3, 5), kWhite) << "frame " << frame;
  }
  ASSERT_TRUE(NextFrame(session));
  EXPECT_EQ(PixelAt(16 + 3, 5), kWhite);
  EXPECT_EQ(text.View(), "ab");
}

// Pushes key events from another thread at a steady pace, as a player types.
class KeyScript {
 public:
  KeyScript(std::vector<std::pair<SDL_Scancode, bool>> keys, Uint32 windowId)
      : thread_([keys = std::move(keys), windowId] {
          // The line input has started its frames before the first key, and every
          // key stays down and up for several frames.
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
          for (const auto& [scancode, down] : keys) {
            std::this_thread::sleep_for(std::chrono::milliseconds(80));
            SDL_Event event{};
            event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.windowID = windowId;
            event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            event.key.keysym.scancode = scancode;
            SDL_PushEvent(&event);
          }
        }) {}
  ~KeyScript() { thread_.join(); }
  KeyScript(const KeyScript&) = delete;
  KeyScript& operator=(const KeyScript&) = delete;

 private:
  std::thread thread_;
};

TEST_F(TextEntry, InputNumberReadsTheTypedNumber) {
  double number = 7;
  {
    KeyScript script({{SDL_SCANCODE_MINUS, true},
                      {SDL_SCANCODE_MINUS, false},
                      {SDL_SCANCODE_4, true},
                      {SDL_SCANCODE_4, false},
                      {SDL_SCANCODE_PERIOD, true},
                      {SDL_SCANCODE_PERIOD, false},
                      {SDL_SCANCODE_5, true},
                      {SDL_SCANCODE_5, false},
                      {SDL_SCANCODE_KP_ENTER, true},
                      {SDL_SCANCODE_KP_ENTER, false}},
                     SDL_GetWindowID(renderer->window));
    InputNumber(number, 5, 5);
  }
  EXPECT_EQ(number, -4.5);
  {
    KeyScript script({{SDL_SCANCODE_RETURN, true}, {SDL_SCANCODE_RETURN, false}}, SDL_GetWindowID(renderer->window));
    InputNumber(number, 5, 5);
  }
  EXPECT_EQ(number, 0);  // an empty line holds no number
}

}  // namespace
