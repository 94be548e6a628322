// Joysticks through SDL virtual joysticks: names, axes, hats, buttons, the digital reading
// and force feedback; and the force effect a game asks for.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "input/joystick_commands.h"
#include "input_fixture.h"

namespace {

class Joysticks : public InputFixture {
 protected:
  void SetUp() override {
    InputFixture::SetUp();
    if (HasFatalFailure()) return;
    pad = AttachJoystick("Virtual Pad");
    StartFreshInput();
    ASSERT_EQ(GetJoystickCount(), 1);
  }

  SDL_Joystick* pad = nullptr;
};

TEST_F(Joysticks, NamesAndCount) {
  AttachJoystick("Second Stick");
  StartFreshInput();
  EXPECT_EQ(GetJoystickCount(), 2);
  EXPECT_EQ(std::string(GetJoystickName(0).TextPointer()), "Virtual Pad, Virtual Pad");
  EXPECT_EQ(std::string(GetJoystickName(1.7).TextPointer()), "Second Stick, Second Stick");
  EXPECT_EQ(GetJoystickName(2).Length(), 0);
  EXPECT_EQ(GetJoystickName(-1).Length(), 0);
}

TEST_F(Joysticks, AtMostTenAreTaken) {
  for (int i = 0; i < 11; ++i) AttachJoystick("Extra");
  StartFreshInput();
  EXPECT_EQ(GetJoystickCount(), 10);
  EXPECT_EQ(GetJoystickName(9).Length(), std::string("Extra, Extra").size());
  EXPECT_EQ(GetJoystickName(10).Length(), 0);
}

TEST_F(Joysticks, AxesAreScaledTo32767AndClamped) {
  const Sint16 values[] = {32767, -32768, 16384, -16384, 0, 1000, 123, -7};
  for (int axis = 0; axis < 8; ++axis) ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, axis, values[axis]), 0);
  EXPECT_DOUBLE_EQ(GetJoystickX(0), 1.0);
  EXPECT_DOUBLE_EQ(GetJoystickY(0), -1.0) << "-32768 is clamped";
  EXPECT_DOUBLE_EQ(GetJoystickZ(0), 16384 / 32767.0);
  EXPECT_DOUBLE_EQ(GetJoystickRotX(0), -16384 / 32767.0);
  EXPECT_DOUBLE_EQ(GetJoystickRotY(0), 0.0);
  EXPECT_DOUBLE_EQ(GetJoystickRotZ(0), 1000 / 32767.0);
  JoystickState state;
  ASSERT_EQ(ReadJoystick(*input, 0, state), 1);
  EXPECT_EQ(state.lX, 32767);
  EXPECT_EQ(state.lY, -32768);
  EXPECT_EQ(state.sliders[0], 123) << "the axes after the sixth are the sliders";
  EXPECT_EQ(state.sliders[1], -7);
  EXPECT_EQ(state.pointOfView[1], kPovCentred) << "hats the joystick lacks read centred";
}

TEST_F(Joysticks, TheHatReadsInHundredthsOfADegree) {
  const struct {
    Uint8 hat;
    std::uint32_t pov;
    double across;
    double upDown;
  } cases[] = {
      {SDL_HAT_CENTERED, 0xFFFFFFFF, 0, 0}, {SDL_HAT_UP, 0, 0, -1},        {SDL_HAT_RIGHTUP, 4500, 0, 0},
      {SDL_HAT_RIGHT, 9000, 1, 0},          {SDL_HAT_RIGHTDOWN, 13500, 0, 0}, {SDL_HAT_DOWN, 18000, 0, 1},
      {SDL_HAT_LEFTDOWN, 22500, 0, 0},      {SDL_HAT_LEFT, 27000, -1, 0},  {SDL_HAT_LEFTUP, 31500, 0, 0},
  };
  for (const auto& test : cases) {
    ASSERT_EQ(SDL_JoystickSetVirtualHat(pad, 0, test.hat), 0);
    JoystickState state;
    ReadJoystick(*input, 0, state);
    EXPECT_EQ(state.pointOfView[0], test.pov) << int(test.hat);
    EXPECT_EQ(GetJoystickHatX(0), test.across) << int(test.hat);
    EXPECT_EQ(GetJoystickHatY(0), test.upDown) << int(test.hat);
  }
  EXPECT_EQ(PointOfViewOfHat(SDL_HAT_UP | SDL_HAT_DOWN), kPovCentred);
}

TEST_F(Joysticks, ButtonsReadAsTheirRawByteAndOnlyTheFirst32Exist) {
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED), 0);
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, 31, SDL_PRESSED), 0);
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, 32, SDL_PRESSED), 0);
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, 33, SDL_PRESSED), 0);
  EXPECT_EQ(GetJoystickButton(0, 0), 128);
  EXPECT_EQ(GetJoystickButton(0, 1), 0);
  EXPECT_EQ(GetJoystickButton(0, 31.5), 128);
  EXPECT_EQ(GetJoystickButton(0, 32), 0);
  EXPECT_EQ(GetJoystickButton(0, 33), 0);
  EXPECT_EQ(GetJoystickButton(0, -1), 0);
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, 0, SDL_RELEASED), 0);
  EXPECT_EQ(GetJoystickButton(0, 0), 0);
}

TEST_F(Joysticks, TheDigitalReadingIsPushedFrom30000On) {
  const struct {
    Sint16 value;
    double reading;
  } cases[] = {{29999, 0}, {30000, 1}, {32767, 1}, {-29999, 0}, {-30000, -1}, {-32768, -1}, {0, 0}};
  for (const auto& test : cases) {
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, 0, test.value), 0);
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, 1, test.value), 0);
    double x = 9, y = 9, b1 = 9, b2 = 9;
    GetJoystickDigital(x, y, b1, b2);
    EXPECT_EQ(x, test.reading) << test.value;
    EXPECT_EQ(y, test.reading) << test.value;
    EXPECT_EQ(b1, 0);
    EXPECT_EQ(b2, 0);
  }
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, 1, SDL_PRESSED), 0);
  double x = 0, y = 0, b1 = 0, b2 = 0;
  GetJoystickDigital(x, y, b1, b2);
  EXPECT_EQ(b1, 0);
  EXPECT_EQ(b2, 128);
}

TEST_F(Joysticks, ANumberWithoutAJoystickReadsCentredAndUnpressed) {
  ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, 0, 32767), 0);
  for (double index : {1.0, 9.0, 10.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(GetJoystickX(index), 0) << index;
    EXPECT_EQ(GetJoystickHatX(index), 0) << index;
    EXPECT_EQ(GetJoystickHatY(index), 0) << index;
    EXPECT_EQ(GetJoystickButton(index, 0), 0) << index;
  }
  for (int index : {1, 9, 10, -1}) {
    JoystickState state;
    EXPECT_EQ(ReadJoystick(*input, index, state), 0) << index;
    EXPECT_EQ(state.pointOfView[0], kPovCentred) << index;
    EXPECT_EQ(state.lX, 0) << index;
  }
}

TEST_F(Joysticks, ForceOnAJoystickWithoutForceFeedbackDoesNothing) {
  // Virtual joysticks have no force feedback: nothing is opened and nothing fails.
  PlayJoystickForce(0, 500, 1, -1);
  PlayJoystickForce(3, 500, 1, -1);
  PlayJoystickForce(-1, 500, 1, -1);
  EXPECT_EQ(input->haptics[0], nullptr);
  EXPECT_EQ(input->forceEffects[0], -1);
  EXPECT_DOUBLE_EQ(GetJoystickX(0), 0);
}

TEST_F(Joysticks, ShutdownClosesTheJoysticksAndTheManagerCanStartAgain) {
  ShutdownInput(*input);
  EXPECT_EQ(input->joystickCount, 0);
  EXPECT_EQ(input->joysticks[0], nullptr);
  EXPECT_EQ(GetJoystickCount(), 0);
  EXPECT_EQ(GetJoystickX(0), 0);
  // The virtual joystick outlives the engine's handle on it.
  ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, 0, 32767), 0);
  StartFreshInput();
  EXPECT_DOUBLE_EQ(GetJoystickX(0), 1.0);
}

TEST(ForceEffect, StrengthGrowsWithTheSquareOfTheDirection) {
  ConstantForce force = MakeConstantForce(1000, 1, 0);
  EXPECT_EQ(force.directionX, 32767);
  EXPECT_EQ(force.directionY, 0);
  EXPECT_EQ(force.durationMs, 1000u);
  EXPECT_EQ(force.magnitude, 5000);

  force = MakeConstantForce(250.9, 0.5, -0.5);
  EXPECT_EQ(force.directionX, 16383);
  EXPECT_EQ(force.directionY, -16383);
  EXPECT_EQ(force.durationMs, 250u);
  EXPECT_EQ(force.magnitude, 2500);

  // Components beyond 1 are clamped before the strength is taken.
  force = MakeConstantForce(10, 3, -7);
  EXPECT_EQ(force.directionX, 32767);
  EXPECT_EQ(force.directionY, -32767);
  EXPECT_EQ(force.magnitude, 10000);
}

TEST(ForceEffect, BadNumbersGiveNoForceRatherThanGarbage) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ConstantForce force = MakeConstantForce(nan, nan, 1);
  EXPECT_EQ(force.durationMs, 0u);
  EXPECT_EQ(force.directionX, 0);
  EXPECT_EQ(force.magnitude, 5000);
  EXPECT_EQ(MakeConstantForce(-500, 1, 1).durationMs, 0u);
  EXPECT_EQ(MakeConstantForce(1e300, 1, 1).durationMs, 4294967u);
  EXPECT_EQ(MakeConstantForce(100, 0, 0).magnitude, 0);
}

TEST(ForceEffect, TheSdlEffectIsOneConstantForceInCartesianDirection) {
  const SDL_HapticEffect effect = ConstantForceEffect(MakeConstantForce(750, -1, 1));
  EXPECT_EQ(effect.type, SDL_HAPTIC_CONSTANT);
  EXPECT_EQ(effect.constant.direction.type, SDL_HAPTIC_CARTESIAN);
  EXPECT_EQ(effect.constant.direction.dir[0], -32767);
  EXPECT_EQ(effect.constant.direction.dir[1], 32767);
  EXPECT_EQ(effect.constant.length, 750u);
  EXPECT_EQ(effect.constant.level, 32767);
  EXPECT_EQ(effect.constant.button, 0);
  EXPECT_EQ(effect.constant.attack_length, 0);
  EXPECT_EQ(effect.constant.fade_length, 0);
  EXPECT_EQ(ConstantForceEffect(MakeConstantForce(750, 1, 0)).constant.level, 16383);
}

TEST(JoystickConversions, AxesHatsAndDigitalReadings) {
  EXPECT_DOUBLE_EQ(ScaledAxis(32768), 1.0);
  EXPECT_DOUBLE_EQ(ScaledAxis(65535), 1.0);
  EXPECT_DOUBLE_EQ(ScaledAxis(-32767), -1.0);
  EXPECT_EQ(DigitalAxis(32768), 1);
  EXPECT_EQ(DigitalAxis(-32768), -1);
  EXPECT_EQ(HatAcross(kPovCentred), 0);
  EXPECT_EQ(HatUpDown(kPovCentred), 0);
  const JoystickState absent = AbsentJoystickState();
  for (std::uint32_t pov : absent.pointOfView) EXPECT_EQ(pov, kPovCentred);
  EXPECT_EQ(absent.lX, 0);
}

}  // namespace
