#include "core/math_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(DegreeTrigonometry, UsesTheEngineConstantNotPi) {
  EXPECT_EQ(DegreesPerRadian, 57.2957795);
  EXPECT_NE(DegreesPerRadian, 180 / std::numbers::pi);
  EXPECT_NEAR(SinDeg(90), 1, 1e-12);
  // 180 / 57.2957795 overshoots pi by about 7.2e-10, which shows through the sine.
  EXPECT_NE(SinDeg(180), 0);
  EXPECT_NEAR(SinDeg(180), std::sin(180 / 57.2957795), 0);
  EXPECT_NEAR(SinDeg(180), -7.17e-10, 0.01e-10);
  EXPECT_NEAR(CosDeg(0), 1, 0);
  EXPECT_NEAR(CosDeg(180), -1, 1e-12);
  EXPECT_NEAR(TanDeg(45), 1, 1e-8);
}

TEST(DegreeTrigonometry, InverseFunctionsClampAndScale) {
  EXPECT_EQ(ArcSinDeg(1.5), 90);
  EXPECT_EQ(ArcSinDeg(1), 90);
  EXPECT_EQ(ArcSinDeg(-7), -90);
  EXPECT_EQ(ArcCosDeg(-3), 180);
  EXPECT_EQ(ArcCosDeg(1), 0);
  EXPECT_EQ(ArcSinDeg(0.5), std::asin(0.5) * 57.2957795);
  EXPECT_EQ(ArcCosDeg(0.5), std::acos(0.5) * 57.2957795);
  EXPECT_EQ(ArcTan2Deg(1, 0), std::atan2(1, 0) * 57.2957795);
  EXPECT_NEAR(ArcTan2Deg(-1, -1), -135, 1e-6);
}

TEST(NumericCommands, PowerRootAbsolute) {
  EXPECT_EQ(Power(2, 10), 1024);
  EXPECT_EQ(Power(9, 0.5), 3);
  EXPECT_EQ(SquareRoot(16), 4);
  EXPECT_TRUE(std::isnan(SquareRoot(-1)));
  EXPECT_EQ(Absolute(-2.5), 2.5);
  EXPECT_EQ(Absolute(3), 3);
}

TEST(IntMod, TruncatesBothSidesAndKeepsTheSignOfTheDividend) {
  EXPECT_EQ(IntMod(7.9, 3.2), 1);
  EXPECT_EQ(IntMod(-7, 3), -1);
  EXPECT_EQ(IntMod(7, -3), 1);
  EXPECT_EQ(IntMod(-7, -3), -1);
  EXPECT_EQ(IntMod(-7.9, 3), -1);  // -7 mod 3
}

TEST(IntMod, UndefinedCasesGiveZero) {
  EXPECT_EQ(IntMod(5, 0), 0);
  EXPECT_EQ(IntMod(5, 0.5), 0);
  EXPECT_EQ(IntMod(5, -0.9), 0);
  EXPECT_EQ(IntMod(-2147483648.0, -1), 0);
  EXPECT_EQ(IntMod(-2147483648.0, -1.5), 0);
}

TEST(IntMod, OutOfRangeOperandsTruncateLikeTheProcessor) {
  // Values outside 32 bits (and NaN) truncate to -2147483648.
  EXPECT_EQ(IntMod(1e10, 3), -2);
  EXPECT_EQ(IntMod(5, std::nan("")), 5);
}

}  // namespace
