#pragma once
// Commands that cross between numbers and text: lengths, character codes, the general
// number-to-text and text-to-number conversions, and the fixed-width number format.

#include "core/basic_string.h"

// The stored length of the text.
double TextLength(const BasicString& text);
// The length of the text NumberToText gives for the number.
double NumberTextLength(double number);
// The first byte of the text as a signed 8-bit value (-128 .. 127); 0 for the empty text.
double CharCode(const BasicString& text);
// A one-character text of the code's low 8 bits (after truncation to a 16-bit integer);
// the empty text when that byte is 0.
BasicString CharFromCode(double code);
// Ten significant digits, no trailing decimal point.
BasicString NumberToText(double number);
// The leading number of the text, 0 when there is none.
double TextToNumber(const BasicString& text);

// The value printed as the C library's "%<width>.<decimals>f" would: at least width
// characters, blanks on the left (on the right for a negative width), exactly decimals
// digits after the point, rounded. The text is limited to its first 255 characters; a
// negative decimals count prints no fraction.
BasicString FormatFixed(double width, double decimals, double value);
