#include "core/math_commands.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(DegreeTrigonometry, AnglesAreDegreesConvertedWithTheRoundedConstant) {
  EXPECT_NEAR(SinDeg(90), 1, 1e-12);
  EXPECT_NEAR(SinDeg(30), 0.5, 1e-9);
  // The constant 57.2957795 is rounded: 180 degrees overshoot pi by about 7.2e-10, which
  // shows through the sine where exact radians would give about 1.2e-16.
  EXPECT_NEAR(SinDeg(180), -7.17e-10, 0.01e-10);
  EXPECT_EQ(CosDeg(0), 1);
  EXPECT_NEAR(CosDeg(180), -1, 1e-12);
  EXPECT_NEAR(TanDeg(45), 1, 1e-8);
}

TEST(DegreeTrigonometry, InverseFunctionsClampAndScale) {
  EXPECT_EQ(ArcSinDeg(1.5), 90);
  EXPECT_EQ(ArcSinDeg(1), 90);
  EXPECT_EQ(ArcSinDeg(-7), -90);
  EXPECT_EQ(ArcCosDeg(-3), 180);
  EXPECT_EQ(ArcCosDeg(1), 0);
  EXPECT_NEAR(ArcSinDeg(0.5), 30, 1e-6);
  EXPECT_NEAR(ArcCosDeg(0.5), 60, 1e-6);
  EXPECT_NEAR(ArcTan2Deg(1, 0), 90, 1e-6);  // y first: straight up
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
