// Mouse frames, the two mouse modes, the clamp and the buttons, from events as the window
// system delivers them; and what start-up logs about devices it cannot have.

#include <gtest/gtest.h>

#include "host/message_pump.h"
#include "input/input_commands.h"
#include "input_fixture.h"

namespace {

using Mouse = InputFixture;

TEST_F(Mouse, TwoReadsInOneFrameAgreeAndTheNextFrameMeasuresAfresh) {
  PushMotion(0, 0, 5, -3);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 5);
  EXPECT_EQ(GetMouseAxis(1), -3);
  PushMotion(0, 0, 7, 2);
  EXPECT_EQ(GetMouseAxis(0), 5) << "the frame's motion is measured once";
  EXPECT_EQ(GetMouseAxis(1), -3);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 7);
  EXPECT_EQ(GetMouseAxis(1), 2);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 0);
}

TEST_F(Mouse, MotionWithinAFrameAddsUpAndMovesTheCapturedPosition) {
  SetMousePosition(100, 100);
  PushMotion(0, 0, 4, 1);
  PushMotion(0, 0, 6, 19);
  PumpMessages(*renderer);  // the pump hands events over as well as the reads take them
  PushMotion(0, 0, -2, 0);
  BeginMouseFrame();
  double x = 0, y = 0, left = 0, right = 0;
  GetMouseState(x, y, left, right);
  EXPECT_EQ(x, 108);
  EXPECT_EQ(y, 120);
  EXPECT_EQ(GetMouseAxis(0), 8);
  EXPECT_EQ(GetMouseAxis(1), 20);
}

TEST_F(Mouse, GetMouseStateClampsToTheSurfaceAndKeepsTheClamp) {
  double x = 0, y = 0, left = 0, right = 0;
  SetMousePosition(640, -5);
  GetMouseState(x, y, left, right);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(input->mouseX, 639) << "the clamped position replaces the stored one";
  // The next motion starts from the clamped position.
  PushMotion(0, 0, -10, 3);
  BeginMouseFrame();
  GetMouseState(x, y, left, right);
  EXPECT_EQ(x, 629);
  EXPECT_EQ(y, 3);
  SetMousePosition(1e12, 480);
  GetMouseState(x, y, left, right);
  EXPECT_EQ(x, 0) << "a position beyond any integer truncates to the smallest one";
  EXPECT_EQ(y, 479);
}

TEST_F(Mouse, SetMousePositionDoesNotMoveTheSystemCursor) {
  input->mouse.SetCursor(11, 22);
  SetMousePosition(300.9, 200.2);
  EXPECT_EQ(input->mouseX, 300);
  EXPECT_EQ(input->mouseY, 200);
  EXPECT_EQ(input->mouse.CursorX(), 11);
  EXPECT_EQ(input->mouse.CursorY(), 22);
}

TEST_F(Mouse, TheWheelReadsAsItsDirectionOnly) {
  PushWheel(3);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(2), 1);
  PushWheel(-2);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(2), -1);
  PushWheel(1, true);  // a flipped wheel turned away from the user reports -1
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(2), -1);
  PushWheel(1);
  PushWheel(-1);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(2), 0);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(2), 0);
}

TEST_F(Mouse, HeldButtonsReadAs128AndTheCommandsAsOne) {
  PushButton(SDL_BUTTON_RIGHT, true);
  BeginMouseFrame();
  MouseState state;
  EXPECT_EQ(ReadMouse(*input, state), 1);
  EXPECT_EQ(state.left, 0);
  EXPECT_EQ(state.right, 128);
  EXPECT_EQ(state.middle, 0);
  EXPECT_EQ(GetMouseAxis(3), 0);
  EXPECT_EQ(GetMouseAxis(4), 1);
  EXPECT_EQ(GetMouseAxis(5), 0);
  EXPECT_EQ(GetMouseAxis(6), 0);
  EXPECT_EQ(GetMouseAxis(-1), 0);
  EXPECT_EQ(AnyMouseButton(), 1);
  double x = 0, y = 0, left = 0, right = 0;
  GetMouseState(x, y, left, right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 1);
  PushButton(SDL_BUTTON_MIDDLE, true);
  PushButton(SDL_BUTTON_RIGHT, false);
  PushButton(SDL_BUTTON_X1, true);  // buttons beyond the third are not the game's
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(4), 0);
  EXPECT_EQ(GetMouseAxis(5), 1);
  PushButton(SDL_BUTTON_MIDDLE, false);
  BeginMouseFrame();
  EXPECT_EQ(AnyMouseButton(), 0);
}

TEST_F(Mouse, AClickBetweenTwoReadsIsReportedForTheFrameThatFirstSawIt) {
  PushButton(SDL_BUTTON_LEFT, true);
  PushButton(SDL_BUTTON_LEFT, false);
  BeginMouseFrame();
  EXPECT_EQ(AnyMouseButton(), 1);
  EXPECT_EQ(GetMouseAxis(3), 1) << "the whole frame sees the click";
  BeginMouseFrame();
  EXPECT_EQ(AnyMouseButton(), 0) << "and no later frame";
}

TEST_F(Mouse, FreeModeFollowsTheCursorFromTheProgramsPosition) {
  SetMousePosition(50, 60);
  SetMouseFree(1);
  EXPECT_EQ(input->mouseFree, 1);
  EXPECT_EQ(input->mouse.CursorX(), 50) << "the cursor is put at the program's position";
  EXPECT_EQ(input->mouse.CursorY(), 60);
  PushMotion(300, 200, 1, 1);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 250);
  EXPECT_EQ(GetMouseAxis(1), 140);
  double x = 0, y = 0, left = 0, right = 0;
  GetMouseState(x, y, left, right);
  EXPECT_EQ(x, 300);
  EXPECT_EQ(y, 200);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 0);
}

TEST_F(Mouse, SetMouseFreeTwicePlacesTheCursorOnce) {
  SetMousePosition(50, 60);
  SetMouseFree(1);
  PushMotion(300, 200, 250, 140);
  BeginMouseFrame();
  GetMouseAxis(0);
  SetMousePosition(10, 10);
  SetMouseFree(1);
  EXPECT_EQ(input->mouse.CursorX(), 300) << "the second call must not move the cursor";
  EXPECT_EQ(input->mouse.CursorY(), 200);
}

TEST_F(Mouse, CapturingAgainForgetsTheMotionOfTheFreeMouse) {
  SetMouseFree(1);
  PushMotion(400, 300, 40, 30);
  SDL_PumpEvents();
  CollectInputEvents(*input);
  SetMousePosition(100, 100);
  SetMouseFree(0);
  EXPECT_EQ(input->mouseFree, 0);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 0);
  double x = 0, y = 0, left = 0, right = 0;
  GetMouseState(x, y, left, right);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 100);
}

TEST_F(Mouse, HugeMotionSaturatesInsteadOfWrappingAround) {
  SetMousePosition(0, 0);
  for (int i = 0; i < 3; ++i) PushMotion(0, 0, 30000, -30000);
  BeginMouseFrame();
  EXPECT_EQ(GetMouseAxis(0), 32767);
  EXPECT_EQ(GetMouseAxis(1), -32768);
  SetMousePosition(2147483600.0, 0);
  PushMotion(0, 0, 1000, 0);
  BeginMouseFrame();
  GetMouseAxis(0);
  EXPECT_EQ(input->mouseX, 2147483647);
}

TEST_F(Mouse, WithoutTheMouseFlagTheMouseStartsFreeAndNothingIsLogged) {
  const std::string before = ReadErrorLog();
  StartFreshInput(0);
  EXPECT_EQ(status, kInputReady);
  EXPECT_EQ(input->mouseFree, 1);
  EXPECT_EQ(ReadErrorLog(), before);
}

TEST_F(Mouse, OnAScreenlessDriverTheMouseIsHadWithoutCapture) {
  EXPECT_EQ(status, kInputReady) << "nothing to capture on the offscreen driver, nothing failed";
  EXPECT_EQ(input->mouseFree, 0);
  EXPECT_TRUE(input->keyboardAvailable);
  EXPECT_TRUE(input->mouseAvailable);
}

TEST_F(Mouse, WithoutAWindowKeyboardAndMouseAreLoggedAsMissing) {
  const std::string before = ReadErrorLog();
  ReleaseInput();
  CreateInput();
  input = Subsystems().input;
  EXPECT_EQ(InitInput(*input, nullptr, 1), kMouseNotAcquired) << "the last device that failed";
  EXPECT_EQ(ReadErrorLog(), before + "No DX_KB\r\nNo DX_Mouse\r\n");
  // Events still reach the engine when they come.
  PushKey(SDL_SCANCODE_B, true);
  RefreshKeyboard();
  EXPECT_TRUE(IsKeyDown(key::kB));
}

}  // namespace
