// Input in the frame loop: PresentFrame and IdleWait refresh the devices, end the
// program on Escape and Alt+F4, and an idle wait ends early on activity; the mouse-button
// wait.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "host/frame_present.h"
#include "input/input_commands.h"
#include "input/joystick_commands.h"
#include "input_fixture.h"

namespace {

using std::chrono::milliseconds;

class FrameInput : public InputFixture {
 protected:
  // Runs an idle wait; true when activity ended it before its eight passes.
  static bool IdleWaitEndedEarly() { return IdleWait(); }

  // Settles the idle wait's memory of the mouse: the next wait sees no mouse change.
  void SettleIdleMouse() {
    IdleWait();
    IdleWait();
  }
};

TEST_F(FrameInput, PresentFrameRefreshesTheKeyboardAndOpensAMouseFrame) {
  PushKey(SDL_SCANCODE_W, true);
  PushMotion(0, 0, 6, 0);
  PresentFrame();
  EXPECT_TRUE(IsKeyDown(key::kW));
  EXPECT_EQ(GetMouseAxis(0), 6);
  PushMotion(0, 0, 2, 0);
  EXPECT_EQ(GetMouseAxis(0), 6);
  PresentFrame();
  EXPECT_EQ(GetMouseAxis(0), 2);
  PushKey(SDL_SCANCODE_W, false);
  PresentFrame();
  EXPECT_FALSE(IsKeyDown(key::kW));
}

TEST_F(FrameInput, EscapeIsIgnoredWhenSwitchedOffAndAltF4NeedsTheLeftAlt) {
  Engine().escapeEndsProgram = 0;
  PushKey(SDL_SCANCODE_ESCAPE, true);
  PresentFrame();
  IdleWait();
  EXPECT_TRUE(IsKeyDown(key::kEscape));
  PushKey(SDL_SCANCODE_ESCAPE, false);
  // F4 alone, or with the right Alt, does not end the program.
  PushKey(SDL_SCANCODE_F4, true);
  PresentFrame();
  PushKey(SDL_SCANCODE_RALT, true);
  PresentFrame();
  // The idle wait makes only the Escape check.
  PushKey(SDL_SCANCODE_LALT, true);
  IdleWait();
  EXPECT_TRUE(IsKeyDown(key::kLeftAlt) && IsKeyDown(key::kF4));
}

using FrameInputDeathTest = FrameInput;

// Runs body in a child process, which must end through EndProgram with code 0.
#define EXPECT_PROGRAM_ENDS(body)                    \
  EXPECT_EXIT(                                       \
      {                                              \
        body;                                        \
        std::fprintf(stderr, "still running\n");     \
        std::exit(3);                                \
      },                                             \
      ::testing::ExitedWithCode(0), "")

TEST_F(FrameInputDeathTest, EscapeEndsTheProgramAtTheNextFrameAndIdleWait) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_PROGRAM_ENDS({
    PushKey(SDL_SCANCODE_ESCAPE, true);
    PresentFrame();
  });
  EXPECT_PROGRAM_ENDS({
    TapKey(SDL_SCANCODE_ESCAPE);
    IdleWait();
  });
  // A tap the game's own key polling saw still ends the program at the next frame.
  EXPECT_PROGRAM_ENDS({
    PresentFrame();
    TapKey(SDL_SCANCODE_ESCAPE);
    GetKeyDown(key::kSpace);
    PresentFrame();
  });
  // The second Escape code counts as well.
  EXPECT_PROGRAM_ENDS({
    input->keyboard.ApplyKey(key::kEscapeAlternate, true);
    PresentFrame();
  });
}

TEST_F(FrameInputDeathTest, LeftAltWithF4EndsTheProgramWhateverTheEscapeSwitch) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_PROGRAM_ENDS({
    Engine().escapeEndsProgram = 0;
    PushKey(SDL_SCANCODE_LALT, true);
    PushKey(SDL_SCANCODE_F4, true);
    PresentFrame();
  });
}

TEST_F(FrameInput, AnIdleWaitWithoutInputRunsItsEightPasses) {
  SetMousePosition(0, 0);
  EXPECT_FALSE(IdleWaitEndedEarly()) << "the mouse sits where the wait's memory starts: 0, 0, no button";
  EXPECT_FALSE(IdleWaitEndedEarly());
}

TEST_F(FrameInput, TheFirstIdleWaitEndsAtOnceWhenTheMouseIsNotAtTheOrigin) {
  SetMousePosition(5, 0);
  EXPECT_TRUE(IdleWaitEndedEarly());
  EXPECT_FALSE(IdleWaitEndedEarly());
}

TEST_F(FrameInput, AKeyOrAMouseChangeEndsAnIdleWait) {
  SettleIdleMouse();
  PushKey(SDL_SCANCODE_SPACE, true);
  EXPECT_TRUE(IdleWaitEndedEarly());
  EXPECT_TRUE(IdleWaitEndedEarly()) << "while the key is held";
  PushKey(SDL_SCANCODE_SPACE, false);
  EXPECT_FALSE(IdleWaitEndedEarly());

  PushMotion(0, 0, 3, 0);
  EXPECT_TRUE(IdleWaitEndedEarly());
  EXPECT_FALSE(IdleWaitEndedEarly());

  PushButton(SDL_BUTTON_RIGHT, true);
  EXPECT_TRUE(IdleWaitEndedEarly());
  EXPECT_FALSE(IdleWaitEndedEarly()) << "a held button is no change";
  PushButton(SDL_BUTTON_RIGHT, false);
  EXPECT_TRUE(IdleWaitEndedEarly());

  // The middle button and the wheel are not among what the wait remembers.
  PushButton(SDL_BUTTON_MIDDLE, true);
  PushWheel(1);
  EXPECT_FALSE(IdleWaitEndedEarly());
  PushButton(SDL_BUTTON_MIDDLE, false);
}

TEST_F(FrameInput, TheIdleWaitClampsTheMouseAndRemembersTheClampedPosition) {
  SetMousePosition(5000, -20);
  EXPECT_TRUE(IdleWaitEndedEarly());
  EXPECT_EQ(input->mouseX, 639);
  EXPECT_EQ(input->mouseY, 0);
  EXPECT_EQ(input->idleMouseX, 639);
  SetMousePosition(700, 0);
  EXPECT_FALSE(IdleWaitEndedEarly()) << "clamped to the same place";
}

TEST_F(FrameInput, JoystickActivityEndsAnIdleWait) {
  SDL_Joystick* first = AttachJoystick("First");
  SDL_Joystick* second = AttachJoystick("Second");
  StartFreshInput();
  SettleIdleMouse();
  ASSERT_EQ(GetJoystickCount(), 2);
  EXPECT_FALSE(IdleWaitEndedEarly());

  SDL_JoystickSetVirtualButton(second, 31, SDL_PRESSED);
  EXPECT_TRUE(IdleWaitEndedEarly());
  SDL_JoystickSetVirtualButton(second, 31, SDL_RELEASED);
  SDL_JoystickSetVirtualButton(second, 32, SDL_PRESSED);
  EXPECT_FALSE(IdleWaitEndedEarly()) << "button 32 is not a button of the record";

  // Axes X, Y and Z count beyond a tenth of full deflection; the rotations do not.
  SDL_JoystickSetVirtualAxis(first, 0, 3276);
  EXPECT_FALSE(IdleWaitEndedEarly());
  SDL_JoystickSetVirtualAxis(first, 0, 3277);
  EXPECT_TRUE(IdleWaitEndedEarly());
  SDL_JoystickSetVirtualAxis(first, 0, 0);
  SDL_JoystickSetVirtualAxis(first, 2, -4000);
  EXPECT_TRUE(IdleWaitEndedEarly());
  SDL_JoystickSetVirtualAxis(first, 2, 0);
  SDL_JoystickSetVirtualAxis(first, 3, 32767);
  EXPECT_FALSE(IdleWaitEndedEarly());
  SDL_JoystickSetVirtualAxis(first, 3, 0);

  // The hat counts when pushed straight; centred and diagonal do not.
  for (Uint8 hat : {SDL_HAT_UP, SDL_HAT_RIGHT, SDL_HAT_DOWN, SDL_HAT_LEFT}) {
    SDL_JoystickSetVirtualHat(first, 0, hat);
    EXPECT_TRUE(IdleWaitEndedEarly()) << int(hat);
  }
  for (Uint8 hat : {SDL_HAT_CENTERED, SDL_HAT_RIGHTUP, SDL_HAT_LEFTDOWN}) {
    SDL_JoystickSetVirtualHat(first, 0, hat);
    EXPECT_FALSE(IdleWaitEndedEarly()) << int(hat);
  }
}

TEST_F(FrameInput, WaitForMouseButtonWaitsForAFreshClickNotAKey) {
  SettleIdleMouse();
  PushButton(SDL_BUTTON_LEFT, true);  // held from before the wait
  std::atomic<bool> clicked{false};
  std::atomic<bool> returned{false};
  std::atomic<bool> rescued{false};
  std::thread player([&] {
    std::this_thread::sleep_for(milliseconds(60));
    PushButton(SDL_BUTTON_LEFT, false);
    std::this_thread::sleep_for(milliseconds(60));
    TapKey(SDL_SCANCODE_A);
    PushMotion(0, 0, 5, 5);
    std::this_thread::sleep_for(milliseconds(150));
    clicked = true;
    PushButton(SDL_BUTTON_RIGHT, true);
    PushButton(SDL_BUTTON_RIGHT, false);
    // A wait that missed the click would block for ever: a held button gets it out, and
    // the test fails. The limit leaves a busy machine ample time to see the click.
    for (int waited = 0; waited < 3000 && !returned; ++waited) std::this_thread::sleep_for(milliseconds(10));
    if (!returned) {
      rescued = true;
      PushButton(SDL_BUTTON_MIDDLE, true);
    }
  });
  WaitForMouseButton();
  returned = true;
  const bool afterClick = clicked;
  player.join();
  EXPECT_TRUE(afterClick) << "the wait ended before the click";
  EXPECT_FALSE(rescued) << "the quick click was missed";
}

}  // namespace
