// Key numbers and the keyboard snapshot, from events as the window system delivers them.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "host/message_pump.h"
#include "input/input_commands.h"
#include "input/scan_codes.h"
#include "input_fixture.h"

namespace {

TEST(ScanCodes, KeysHaveTheirClassicNumbers) {
  const std::pair<SDL_Scancode, int> keys[] = {
      {SDL_SCANCODE_ESCAPE, 1},        {SDL_SCANCODE_1, 2},           {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_BACKSPACE, 14},    {SDL_SCANCODE_TAB, 15},        {SDL_SCANCODE_Q, 16},
      {SDL_SCANCODE_Y, 21},            {SDL_SCANCODE_RETURN, 28},     {SDL_SCANCODE_LCTRL, 29},
      {SDL_SCANCODE_A, 30},            {SDL_SCANCODE_GRAVE, 41},      {SDL_SCANCODE_LSHIFT, 42},
      {SDL_SCANCODE_BACKSLASH, 43},    {SDL_SCANCODE_Z, 44},          {SDL_SCANCODE_M, 50},
      {SDL_SCANCODE_SLASH, 53},        {SDL_SCANCODE_RSHIFT, 54},     {SDL_SCANCODE_KP_MULTIPLY, 55},
      {SDL_SCANCODE_LALT, 56},         {SDL_SCANCODE_SPACE, 57},      {SDL_SCANCODE_CAPSLOCK, 58},
      {SDL_SCANCODE_F1, 59},           {SDL_SCANCODE_F4, 62},         {SDL_SCANCODE_F10, 68},
      {SDL_SCANCODE_NUMLOCKCLEAR, 69}, {SDL_SCANCODE_SCROLLLOCK, 70}, {SDL_SCANCODE_KP_7, 71},
      {SDL_SCANCODE_KP_MINUS, 74},     {SDL_SCANCODE_KP_5, 76},       {SDL_SCANCODE_KP_PLUS, 78},
      {SDL_SCANCODE_KP_0, 82},         {SDL_SCANCODE_KP_PERIOD, 83},  {SDL_SCANCODE_NONUSBACKSLASH, 86},
      {SDL_SCANCODE_F11, 87},          {SDL_SCANCODE_F12, 88},        {SDL_SCANCODE_KP_ENTER, 156},
      {SDL_SCANCODE_RCTRL, 157},       {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_PRINTSCREEN, 183},
      {SDL_SCANCODE_RALT, 184},        {SDL_SCANCODE_PAUSE, 197},     {SDL_SCANCODE_HOME, 199},
      {SDL_SCANCODE_UP, 200},          {SDL_SCANCODE_PAGEUP, 201},    {SDL_SCANCODE_LEFT, 203},
      {SDL_SCANCODE_RIGHT, 205},       {SDL_SCANCODE_END, 207},       {SDL_SCANCODE_DOWN, 208},
      {SDL_SCANCODE_PAGEDOWN, 209},    {SDL_SCANCODE_INSERT, 210},    {SDL_SCANCODE_DELETE, 211},
      {SDL_SCANCODE_LGUI, 219},        {SDL_SCANCODE_RGUI, 220},      {SDL_SCANCODE_APPLICATION, 221},
  };
  for (const auto& [sdl, number] : keys) {
    EXPECT_EQ(ScanCodeOfSdlKey(sdl), number) << SDL_GetScancodeName(sdl);
    EXPECT_EQ(SdlScancodeOfKey(number), sdl) << number;
  }
}

TEST(ScanCodes, EveryKeyOfA105KeyBoardHasANumberOfItsOwn) {
  std::set<int> numbers;
  int keys = 0;
  auto add = [&](SDL_Scancode first, SDL_Scancode last) {
    for (int sdl = first; sdl <= last; ++sdl) {
      const int number = ScanCodeOfSdlKey(static_cast<SDL_Scancode>(sdl));
      EXPECT_NE(number, 0) << SDL_GetScancodeName(static_cast<SDL_Scancode>(sdl));
      numbers.insert(number);
      ++keys;
    }
  };
  add(SDL_SCANCODE_A, SDL_SCANCODE_0);            // 26 letters, 10 digits
  add(SDL_SCANCODE_RETURN, SDL_SCANCODE_SPACE);   // Return, Escape, Backspace, Tab, Space
  add(SDL_SCANCODE_MINUS, SDL_SCANCODE_BACKSLASH);  // - = [ ] and the key left of Return
  add(SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_SLASH);  // ; ' ` , . /
  add(SDL_SCANCODE_CAPSLOCK, SDL_SCANCODE_F12);   // Caps Lock, F1 .. F12
  add(SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_UP);  // Print, Scroll, Pause, the navigation block, arrows
  add(SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_KP_PERIOD);  // the keypad
  add(SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_APPLICATION);  // < > and the menu key
  add(SDL_SCANCODE_LCTRL, SDL_SCANCODE_RGUI);     // Control, Shift, Alt, Windows, both sides
  EXPECT_EQ(keys, 105);
  EXPECT_EQ(numbers.size(), 105u);
}

TEST(ScanCodes, NumbersAndScancodesTurnIntoEachOtherBothWays) {
  int named = 0;
  for (int number = 0; number < kKeyCount; ++number) {
    const SDL_Scancode sdl = SdlScancodeOfKey(number);
    if (sdl == SDL_SCANCODE_UNKNOWN) continue;
    ++named;
    EXPECT_EQ(ScanCodeOfSdlKey(sdl), number);
  }
  EXPECT_GE(named, 105);
  EXPECT_EQ(SdlScancodeOfKey(0), SDL_SCANCODE_UNKNOWN);
  EXPECT_EQ(SdlScancodeOfKey(-1), SDL_SCANCODE_UNKNOWN);
  EXPECT_EQ(SdlScancodeOfKey(256), SDL_SCANCODE_UNKNOWN);
  EXPECT_EQ(ScanCodeOfSdlKey(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(ScanCodeOfSdlKey(SDL_SCANCODE_KP_HEXADECIMAL), 0);
  EXPECT_EQ(ScanCodeOfSdlKey(static_cast<SDL_Scancode>(-5)), 0);
  EXPECT_EQ(ScanCodeOfSdlKey(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
}

using Keyboard = InputFixture;

TEST_F(Keyboard, AKeyShowsDownFromTheNextSnapshotUntilItIsReleased) {
  PushKey(SDL_SCANCODE_A, true);
  EXPECT_FALSE(IsKeyDown(key::kA)) << "the snapshot changes only when refreshed";
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kA));
  for (int frame = 0; frame < 3; ++frame) {
    RefreshKeyboard();
    EXPECT_TRUE(IsKeyDown(key::kA)) << "a held key stays down";
  }
  EXPECT_FALSE(IsKeyDown(key::kS));
  PushKey(SDL_SCANCODE_A, false);
  RefreshKeyboard();
  EXPECT_FALSE(IsKeyDown(key::kA));
}

TEST_F(Keyboard, KeysFollowThePhysicalKeyNotTheLayout) {
  // A German layout puts "z" on the key that is Y on an American board.
  PushKey(SDL_SCANCODE_Y, true, SDLK_z);
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kY));
  EXPECT_FALSE(IsKeyDown(key::kZ));
}

TEST_F(Keyboard, ATapBetweenTwoFramesIsSeenInExactlyOne) {
  TapKey(SDL_SCANCODE_SPACE);
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kSpace));
  RefreshKeyboard();
  EXPECT_FALSE(IsKeyDown(key::kSpace));
}

TEST_F(Keyboard, ATapTheGameHasSeenStillReachesTheNextFrame) {
  RefreshKeyboard();
  TapKey(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(GetKeyDown(key::kEscape), 1);
  EXPECT_EQ(GetKeyDown(key::kEscape), 1) << "for the rest of the frame";
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kEscape)) << "the frame loop's check must see it too";
  RefreshKeyboard();
  EXPECT_FALSE(IsKeyDown(key::kEscape));
  EXPECT_EQ(GetKeyDown(key::kEscape), 0);
}

TEST_F(Keyboard, RepeatedKeyDownsKeepTheKeyDownAndOneReleaseEndsIt) {
  PushKey(SDL_SCANCODE_LEFT, true);
  PushKey(SDL_SCANCODE_LEFT, true, SDLK_UNKNOWN, true);
  PushKey(SDL_SCANCODE_LEFT, true, SDLK_UNKNOWN, true);
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kLeft));
  PushKey(SDL_SCANCODE_LEFT, false);
  RefreshKeyboard();
  EXPECT_FALSE(IsKeyDown(key::kLeft));
}

TEST_F(Keyboard, KeyZeroIsNeverDownAndKeysWithoutANumberChangeNothing) {
  PushKey(SDL_SCANCODE_KP_HEXADECIMAL, true);
  PushKey(SDL_SCANCODE_UNKNOWN, true);
  RefreshKeyboard();
  for (int number = 0; number < kKeyCount; ++number) EXPECT_FALSE(IsKeyDown(number)) << number;
  EXPECT_EQ(GetKeyDown(0), 0);
}

TEST_F(Keyboard, GetKeyDownRefreshesAndUsesTheLow8BitsOfATruncatedNumber) {
  PushKey(SDL_SCANCODE_A, true);
  EXPECT_EQ(GetKeyDown(30), 1);
  EXPECT_EQ(GetKeyDown(30.9), 1);
  EXPECT_EQ(GetKeyDown(256 + 30), 1);
  EXPECT_EQ(GetKeyDown(31), 0);
  EXPECT_EQ(GetKeyDown(-1), 0);  // 255: no key
  PushKey(SDL_SCANCODE_A, false);
  RefreshKeyboard();
  EXPECT_EQ(GetKeyDown(30), 0);
}

TEST_F(Keyboard, KeysTheEventPumpTookReachTheSnapshot) {
  PushKey(SDL_SCANCODE_RCTRL, true);
  PumpMessages(*renderer);
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kRightControl));
  EXPECT_FALSE(IsKeyDown(key::kLeftControl));
}

TEST_F(Keyboard, BothSidesOfShiftControlAltAndWindowsAreTellApart) {
  const SDL_Scancode left[] = {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LCTRL, SDL_SCANCODE_LALT, SDL_SCANCODE_LGUI};
  const int leftKeys[] = {key::kLeftShift, key::kLeftControl, key::kLeftAlt, key::kLeftWindows};
  const int rightKeys[] = {key::kRightShift, key::kRightControl, key::kRightAlt, key::kRightWindows};
  for (int i = 0; i < 4; ++i) {
    PushKey(left[i], true);
    RefreshKeyboard();
    EXPECT_TRUE(IsKeyDown(leftKeys[i]));
    EXPECT_FALSE(IsKeyDown(rightKeys[i]));
    PushKey(left[i], false);
  }
}

TEST(KeyboardState, ReleasingEverythingEndsHeldKeysButNotATapNotYetSeen) {
  KeyboardState keyboard;
  keyboard.ApplyKey(key::kW, true);
  keyboard.ApplyKey(key::kE, true);
  keyboard.ApplyKey(key::kE, false);
  keyboard.ReleaseAll();
  keyboard.TakeSnapshot();
  EXPECT_TRUE(keyboard.IsDown(key::kW)) << "pressed since the last frame";
  EXPECT_TRUE(keyboard.IsDown(key::kE));
  keyboard.TakeFrameSnapshot();
  EXPECT_TRUE(keyboard.IsDown(key::kE));
  keyboard.TakeFrameSnapshot();
  EXPECT_FALSE(keyboard.IsDown(key::kW));
  EXPECT_FALSE(keyboard.AnyDown(0, 255));
  keyboard.ApplyKey(255, true);
  keyboard.ApplyKey(-3, true);
  keyboard.ApplyKey(256, true);
  keyboard.TakeSnapshot();
  EXPECT_TRUE(keyboard.IsDown(255));
  EXPECT_FALSE(keyboard.AnyDown(0, 254));
  EXPECT_TRUE(keyboard.AnyDown(200, 400));
}

}  // namespace
