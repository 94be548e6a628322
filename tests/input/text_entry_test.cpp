// Typed characters and line input from key events as the window system delivers them,
// with the text read back from the offscreen GL surface.

#include <gtest/gtest.h>

#include <SDL2/SDL_opengl.h>

#include <array>
#include <string>
#include <utility>

#include "gfx2d/font_commands.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/texture_store.h"
#include "host/frame_present.h"
#include "input/text_entry.h"
#include "input/typed_characters.h"
#include "input/typed_key_queue.h"
#include "input_fixture.h"

namespace {

using Pixel = std::array<std::uint8_t, 3>;
constexpr Pixel kWhite{255, 255, 255};
constexpr Pixel kRed{255, 0, 0};

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

  // The next typed key, as ReadTypedKey's text.
  static std::string TypedKey() { return std::string(ReadTypedKey().View()); }
  // The frame loop's keyboard snapshot, as each frame takes it.
  static void NewFrame() { RefreshKeyboard(); }

  // A key press as the window system delivers it: the press, then the text the layout
  // makes of it (none for keys without a character).
  void PressKey(SDL_Scancode scancode, const char* text = "") {
    PushKey(scancode, true);
    if (*text != '\0') PushText(text);
  }
  void TapKey(SDL_Scancode scancode, const char* text = "") {
    PressKey(scancode, text);
    PushKey(scancode, false);
  }
  void PushText(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = SDL_GetWindowID(renderer->window);
    SDL_strlcpy(event.text.text, text, sizeof event.text.text);
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  Pixel PixelAt(int x, int y) const {
    std::array<std::uint8_t, 4> pixel{};
    glFinish();
    glReadPixels(x, renderer->surfaceHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return Pixel{pixel[0], pixel[1], pixel[2]};
  }

  // One frame of a line input: present, then the session's frame.
  bool NextFrame(TextEntrySession& session) {
    PresentFrame();
    return session.Frame();
  }
};

TEST_F(TextEntry, EveryPressTypesOnceInTheOrderTypedWhateverTheFrames) {
  // A held key types once: its auto-repeated presses do not.
  PressKey(SDL_SCANCODE_A, "a");
  for (int repeat = 0; repeat < 3; ++repeat) {
    PushKey(SDL_SCANCODE_A, true, SDLK_a, true);
    PushText("a");
  }
  PresentFrame();
  EXPECT_EQ(TypedKey(), "a");
  EXPECT_EQ(TypedKey(), "");
  // A key pressed while another is held types; Shift held makes a..z capitals.
  PressKey(SDL_SCANCODE_B, "b");
  PushKey(SDL_SCANCODE_RSHIFT, true);
  PressKey(SDL_SCANCODE_C, "c");
  EXPECT_EQ(TypedKey(), "b");
  EXPECT_EQ(TypedKey(), "C");
  for (SDL_Scancode held : {SDL_SCANCODE_A, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_RSHIFT}) {
    PushKey(held, false);
  }
  // Two taps within one frame both type, in order (the higher key number first here).
  TapKey(SDL_SCANCODE_Z, "z");
  TapKey(SDL_SCANCODE_BACKSPACE);
  TapKey(SDL_SCANCODE_Q, "q");
  PresentFrame();
  EXPECT_EQ(TypedKey(), "z");
  EXPECT_EQ(TypedKey(), "\b");
  EXPECT_EQ(TypedKey(), "q");
  // A tap between two frames types at the next read.
  TapKey(SDL_SCANCODE_W, "w");
  PresentFrame();
  PresentFrame();
  EXPECT_EQ(TypedKey(), "w");
  EXPECT_EQ(TypedKey(), "");
}

TEST_F(TextEntry, TypedKeysAndTheKeyWaitShareOneQueue) {
  TapKey(SDL_SCANCODE_K, "k");
  TapKey(SDL_SCANCODE_L, "l");
  TapKey(SDL_SCANCODE_M, "m");
  TapKey(SDL_SCANCODE_N, "n");
  EXPECT_EQ(AnyKeyTyped(), 1);  // takes k
  EXPECT_EQ(TypedKey(), "l");
  WaitForKey();  // takes m
  EXPECT_EQ(ReadTypedChar(), 'n');
  EXPECT_EQ(AnyKeyTyped(), 0);
}

TEST_F(TextEntry, KeysTypedWhileNobodyReadsThemAreDroppedAfterAFewFrames) {
  TapKey(SDL_SCANCODE_W, "w");  // a game steered by the key snapshot
  for (std::uint64_t frame = 0; frame <= TypedKeyQueue::kUnreadFrameLimit; ++frame) PresentFrame();
  EXPECT_EQ(TypedKey(), "");
}

TEST_F(TextEntry, TheKeyOrClickWatchCountsOnlyNewPresses) {
  TapKey(SDL_SCANCODE_J, "j");        // typed before the watch
  PressKey(SDL_SCANCODE_H, "h");      // held through it
  PushButton(SDL_BUTTON_LEFT, true);  // held through it
  const KeyOrClickWatch watch = StartKeyOrClickWatch();
  PushKey(SDL_SCANCODE_H, true, SDLK_h, true);
  PushText("h");
  EXPECT_FALSE(KeyOrClickSince(watch));
  PushButton(SDL_BUTTON_LEFT, false);
  EXPECT_FALSE(KeyOrClickSince(watch));
  PushButton(SDL_BUTTON_RIGHT, true);
  EXPECT_TRUE(KeyOrClickSince(watch));
  const KeyOrClickWatch next = StartKeyOrClickWatch();
  TapKey(SDL_SCANCODE_G, "g");
  EXPECT_TRUE(KeyOrClickSince(next));
  EXPECT_EQ(TypedKey(), "");  // the key that ended the watch is taken
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
  PressKey(SDL_SCANCODE_H, "H");
  ASSERT_TRUE(NextFrame(session));
  TapKey(SDL_SCANCODE_X, "x");
  TapKey(SDL_SCANCODE_BACKSPACE);
  TapKey(SDL_SCANCODE_I, "i");
  // One character a frame.
  for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(NextFrame(session));
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

TEST_F(TextEntry, InputNumberReadsTheTypedNumber) {
  // Typed faster than the frames: every key falls into the first one.
  double number = 7;
  for (const auto& [scancode, text] : {std::pair{SDL_SCANCODE_MINUS, "-"}, std::pair{SDL_SCANCODE_4, "4"},
                                       std::pair{SDL_SCANCODE_PERIOD, "."}, std::pair{SDL_SCANCODE_5, "5"}}) {
    TapKey(scancode, text);
  }
  TapKey(SDL_SCANCODE_KP_ENTER);
  InputNumber(number, 5, 5);
  EXPECT_EQ(number, -4.5);
  TapKey(SDL_SCANCODE_RETURN);
  InputNumber(number, 5, 5);
  EXPECT_EQ(number, 0);  // an empty line holds no number
}

}  // namespace
