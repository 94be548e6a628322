#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string S(const BasicString& text) { return std::string(text.View()); }

TEST(FormatFixed, PadsToTheWidthWithTheGivenDecimals) {
  EXPECT_EQ(S(FormatFixed(8, 2, 3.14159)), "    3.14");
  EXPECT_EQ(S(FormatFixed(0, 0, 2.75)), "3");
  EXPECT_EQ(S(FormatFixed(-6, 1, 1)), "1.0   ");
  EXPECT_EQ(S(FormatFixed(8, 2, -3.14159)), "   -3.14");  // the sign sits after the padding
  EXPECT_EQ(S(FormatFixed(2, 3, 12345.5)), "12345.500");  // a narrow width never cuts digits
  EXPECT_EQ(S(FormatFixed(8.9, 2.9, 1)), "    1.00");     // both counts truncate toward zero
}

TEST(FormatFixed, NegativeDecimalsPrintNoFraction) {
  EXPECT_EQ(S(FormatFixed(0, -2, 7.6)), "8");
}

TEST(FormatFixed, HugeWidthsAndValuesAreCutAt255Characters) {
  const std::string wide = S(FormatFixed(1000, 2, 1.5));
  EXPECT_EQ(wide, std::string(255, ' '));  // the first 255 of 996 blanks and "1.50"
  const std::string nearlyWide = S(FormatFixed(257, 2, 1.5));
  EXPECT_EQ(nearlyWide, std::string(253, ' ') + "1.");
  const std::string leftAligned = S(FormatFixed(-1000, 2, 1.5));
  EXPECT_EQ(leftAligned, "1.50" + std::string(251, ' '));

  const std::string big = S(FormatFixed(0, 2, 1e300));
  EXPECT_EQ(big.size(), 255u);
  EXPECT_EQ(big.substr(0, 3), "100");

  const std::string manyDecimals = S(FormatFixed(0, 1e9, 0.1));
  EXPECT_EQ(manyDecimals.size(), 255u);
  EXPECT_EQ(manyDecimals.substr(0, 22), "0.10000000000000000555");  // the exact binary value

  EXPECT_EQ(S(FormatFixed(-2147483648.0, 0, 1)).size(), 255u);
  EXPECT_EQ(S(FormatFixed(1e30, 1e30, 1)).size(), 255u);  // out-of-range counts stay defined
  // NaN counts truncate to -2147483648: no fraction, padded on the right.
  EXPECT_EQ(S(FormatFixed(std::nan(""), std::nan(""), 1)), "1" + std::string(254, ' '));
}

TEST(FormatFixed, NonFiniteValuesPrintAsTheCLibraryDoes) {
  EXPECT_EQ(S(FormatFixed(5, 1, std::numeric_limits<double>::infinity())), "  inf");
  EXPECT_EQ(S(FormatFixed(-5, 1, -std::numeric_limits<double>::infinity())), "-inf ");
}

TEST(CharacterCodes, CodesWrapToTheirLowByte) {
  EXPECT_EQ(S(CharFromCode(65)), "A");
  EXPECT_EQ(S(CharFromCode(321)), "A");
  EXPECT_EQ(S(CharFromCode(65.9)), "A");
  EXPECT_EQ(S(CharFromCode(-191)), "A");  // 0xFF41
  EXPECT_EQ(S(CharFromCode(0)), "");
  EXPECT_EQ(S(CharFromCode(256)), "");
  EXPECT_EQ(S(CharFromCode(1e20)), "");  // out of range truncates to 0x80000000
  EXPECT_EQ(S(CharFromCode(233)), "\xE9");
}

TEST(CharacterCodes, CharCodeReadsASignedByte) {
  EXPECT_EQ(CharCode(BasicString("\xE9tude")), -23);
  EXPECT_EQ(CharCode(BasicString("A")), 65);
  EXPECT_EQ(CharCode(BasicString()), 0);
  EXPECT_EQ(CharCode(CharFromCode(200)), 200 - 256);
}

TEST(NumberAndText, LengthsAndConversions) {
  EXPECT_EQ(TextLength(BasicString()), 0);
  EXPECT_EQ(TextLength(BasicString("hello")), 5);
  EXPECT_EQ(TextLength(BasicString(std::string_view("a\0b", 3))), 3);  // the stored length
  EXPECT_EQ(NumberTextLength(-2.5), 4);
  EXPECT_EQ(NumberTextLength(100), 3);
  EXPECT_EQ(NumberTextLength(1.0 / 3), 12);  // 0.3333333333
  EXPECT_EQ(S(NumberToText(100)), "100");
  EXPECT_EQ(S(NumberToText(0.5)), "0.5");
  EXPECT_EQ(S(NumberToText(0)), "0");
  EXPECT_EQ(S(NumberToText(-7)), "-7");
}

TEST(NumberAndText, TextToNumberReadsTheLeadingNumber) {
  EXPECT_EQ(TextToNumber(BasicString("abc12")), 0);
  EXPECT_EQ(TextToNumber(BasicString("3.5e2")), 350);
  EXPECT_EQ(TextToNumber(BasicString("  -12.5xyz")), -12.5);
  EXPECT_EQ(TextToNumber(BasicString()), 0);
  EXPECT_EQ(TextToNumber(NumberToText(123456.75)), 123456.75);
}

}  // namespace
