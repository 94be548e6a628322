#pragma once
// The language's numeric commands: trigonometry in degrees, powers, roots, absolute
// value and the integer remainder. Every argument and result is a double.

// Every degree conversion divides or multiplies by this constant. It has exactly these
// digits, not the full value of 180 / pi, and games depend on the small difference
// (SinDeg(180) is not exactly 0).
inline constexpr double DegreesPerRadian = 57.2957795;

// Sine, cosine and tangent of an angle in degrees.
double SinDeg(double degrees);
double CosDeg(double degrees);
double TanDeg(double degrees);
// atan2(y, x) in degrees.
double ArcTan2Deg(double y, double x);
// 90 for v >= 1, -90 for v <= -1, else asin(v) in degrees.
double ArcSinDeg(double v);
// 0 for v >= 1, 180 for v <= -1, else acos(v) in degrees.
double ArcCosDeg(double v);

// base raised to the power exponent.
double Power(double base, double exponent);
// Square root; a negative v gives NaN.
double SquareRoot(double v);
// The value without its sign.
double Absolute(double v);
// a and b truncated toward zero to 32-bit integers, then the remainder with the sign of
// a. 0 where no integer remainder exists: b is 0 or truncates to 0, or -2147483648 mod -1.
double IntMod(double a, double b);
