#include "core/math_commands.h"

#include <cmath>
#include <cstdint>

#include "base/number_truncation.h"

double SinDeg(double degrees) { return std::sin(degrees / DegreesPerRadian); }
double CosDeg(double degrees) { return std::cos(degrees / DegreesPerRadian); }
double TanDeg(double degrees) { return std::tan(degrees / DegreesPerRadian); }

double ArcTan2Deg(double y, double x) { return std::atan2(y, x) * DegreesPerRadian; }

double ArcSinDeg(double v) {
  if (v >= 1) return 90;
  if (v <= -1) return -90;
  return std::asin(v) * DegreesPerRadian;
}

double ArcCosDeg(double v) {
  if (v >= 1) return 0;
  if (v <= -1) return 180;
  return std::acos(v) * DegreesPerRadian;
}

double Power(double base, double exponent) { return std::pow(base, exponent); }
double SquareRoot(double v) { return std::sqrt(v); }
double Absolute(double v) { return std::fabs(v); }

double IntMod(double a, double b) {
  if (b == 0) return 0;
  const std::int32_t dividend = TruncateToInt32(a);
  const std::int32_t divisor = TruncateToInt32(b);
  // Division by zero and the one quotient that overflows (INT32_MIN / -1) trap on the
  // processor; neither has an integer remainder.
  if (divisor == 0 || divisor == -1) return 0;
  return dividend % divisor;
}
