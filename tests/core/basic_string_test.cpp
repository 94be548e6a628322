#include "core/basic_string.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string S(const BasicString& text) { return std::string(text.View()); }

TEST(BasicStringStorage, EmptyStringsShareOneBufferAndAllocateNothing) {
  BasicString empty;
  EXPECT_EQ(empty.Data(), SharedEmptyBuffer);
  EXPECT_EQ(empty.Capacity(), 0u);
  BasicString copy(empty);
  EXPECT_EQ(copy.Data(), SharedEmptyBuffer);
  BasicString fromNull(static_cast<const char*>(nullptr));
  EXPECT_EQ(fromNull.Length(), 0u);
  EXPECT_STREQ(fromNull.TextPointer(), "");
}

TEST(BasicStringStorage, ReserveGrowsInSteps) {
  BasicString text;
  text.Reserve(0);
  EXPECT_EQ(text.Capacity(), 512u);
  BasicString a, b, c;
  a.Reserve(511);
  b.Reserve(512);
  c.Reserve(600);
  EXPECT_EQ(a.Capacity(), 512u);
  EXPECT_EQ(b.Capacity(), 1024u);
  EXPECT_EQ(c.Capacity(), 1024u);
  c.Reserve(100);  // never shrinks
  EXPECT_EQ(c.Capacity(), 1024u);
}

TEST(BasicStringStorage, ReserveKeepsTheText) {
  BasicString text("hello");
  text.Reserve(5000);
  EXPECT_EQ(S(text), "hello");
  EXPECT_EQ(text.Capacity(), 5120u);
}

TEST(BasicStringStorage, AssigningAShorterTextKeepsTheBuffer) {
  BasicString text(std::string(700, 'x'));
  const char* buffer = text.Data();
  text = "short";
  EXPECT_EQ(text.Data(), buffer);
  EXPECT_EQ(S(text), "short");
}

TEST(BasicStringStorage, SelfAppendDoublesAcrossAReallocation) {
  BasicString text(std::string(400, 'a') + "b");
  text += text;
  EXPECT_EQ(text.Length(), 802u);
  EXPECT_EQ(S(text), std::string(400, 'a') + "b" + std::string(400, 'a') + "b");
  text = text;
  EXPECT_EQ(text.Length(), 802u);
}

TEST(BasicStringStorage, RecountLengthAfterThePlatformWrote) {
  BasicString text;
  char* buffer = text.WritableBuffer(20);
  std::snprintf(buffer, 20, "abc");
  text.RecountLength();
  EXPECT_EQ(text.Length(), 3u);
  buffer[0] = 0;
  text.RecountLength();
  EXPECT_EQ(text.Length(), 0u);
  EXPECT_STREQ(text.TextPointer(), "");
}

TEST(BasicStringOperators, ConcatenatesNumbersInTheirTextForm) {
  const BasicString x("x");
  EXPECT_EQ(S(x + 100.0), "x100");
  EXPECT_EQ(S(x + 1.5), "x1.5");
  EXPECT_EQ(S(x + -2), "x-2");
  EXPECT_EQ(S(2 + x), "2x");
  EXPECT_EQ(S(x + "y" + 0.25f), "xy0.25");
  EXPECT_EQ(S(Concatenate("a", 3)), "a3");
  EXPECT_EQ(S(Concatenate(1.5, "b")), "1.5b");
  BasicString target("n=");
  target += 7;
  target += 0.5;
  target += "!";
  target += BasicString("?");
  EXPECT_EQ(S(target), "n=70.5!?");
}

TEST(BasicStringOperators, ConstructsAndAssignsFromNumbers) {
  EXPECT_EQ(S(BasicString(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(S(BasicString(0.1f)), "0.1000000015");
  BasicString text;
  text = 3.0;
  EXPECT_EQ(S(text), "3");
}

TEST(BasicStringOperators, TextComparesBytewiseAsUnsigned) {
  const BasicString abc("abc");
  EXPECT_EQ(abc < "abd", 1.0);
  EXPECT_EQ(BasicString("") < "a", 1.0);
  EXPECT_EQ(abc == BasicString("abc"), 1.0);
  EXPECT_EQ(abc != "abc", 0.0);
  EXPECT_EQ(BasicString("\xe9") > "z", 1.0);  // byte 233 sorts after ASCII
  EXPECT_EQ(TextGreaterOrEqual("b", abc), 1.0);
  EXPECT_EQ(abc <= "abc", 1.0);
}

TEST(BasicStringOperators, TwoBasicStringsAreEqualByLengthAndBytes) {
  BasicString withZero("ab");
  withZero.AppendBytes("\0c", 2);
  EXPECT_EQ(withZero == BasicString("ab"), 0.0);
  EXPECT_EQ(withZero == "ab", 1.0);  // a C text ends at the first zero byte
}

TEST(BasicStringOperators, TextComparedWithANumberReadsTheTextAsANumber) {
  EXPECT_EQ(BasicString("10") == 10, 1.0);
  EXPECT_EQ(BasicString("abc") == 0.0, 1.0);
  EXPECT_EQ(BasicString(" 12x") > 11, 1.0);
  EXPECT_EQ(5 < BasicString("6"), 1.0);
  EXPECT_EQ(TextEqual("2.5", 2.5f), 1.0);
  EXPECT_EQ(CompareWithNumber(BasicString("3"), 4), -1);
  EXPECT_EQ(CompareWithNumber(BasicString("4"), 4), 0);
}

TEST(BasicStringOperators, NaNIsEqualToNothingAndUnequalToEverything) {
  const double nan = std::nan("");
  const BasicString one("1");
  EXPECT_EQ(one == nan, 0.0);
  EXPECT_EQ(one != nan, 1.0);
  EXPECT_EQ(one < nan, 0.0);
  EXPECT_EQ(one >= nan, 0.0);
}

TEST(NumberText, FormatsTenSignificantDigits) {
  EXPECT_EQ(S(FormatNumber(1.0 / 3.0)), "0.3333333333");
  EXPECT_EQ(S(FormatNumber(0.1)), "0.1");
  EXPECT_EQ(S(FormatNumber(100)), "100");
  EXPECT_EQ(S(FormatNumber(0)), "0");
  EXPECT_EQ(S(FormatNumber(-7.25)), "-7.25");
  EXPECT_EQ(S(FormatNumber(1234567890)), "1234567890");
  EXPECT_EQ(S(FormatNumber(2.0 / 3.0 * 1e15)), "6.666666667e+14");
  EXPECT_EQ(S(FormatInteger(-42)), "-42");
}

TEST(NumberText, ParsesLikeTheLanguagesConversion) {
  EXPECT_EQ(ParseNumber("  -12.5e2xyz"), -1250);
  EXPECT_EQ(ParseNumber("+.5"), 0.5);
  EXPECT_EQ(ParseNumber("7."), 7);
  EXPECT_EQ(ParseNumber("3e"), 3);
  EXPECT_EQ(ParseNumber("3e+"), 3);
  EXPECT_EQ(ParseNumber("abc"), 0);
  EXPECT_EQ(ParseNumber("."), 0);
  EXPECT_EQ(ParseNumber(""), 0);
  EXPECT_EQ(ParseNumber(nullptr), 0);
  // The C library's extra forms are not numbers of the language.
  EXPECT_EQ(ParseNumber("0x1A"), 0);
  EXPECT_EQ(ParseNumber("inf"), 0);
  EXPECT_EQ(ParseNumber("nan"), 0);
}

TEST(TextHelpers, CharacterAccessIsSignedAndRangeChecked) {
  BasicString text("a\xe9");
  EXPECT_EQ(text.GetCharAt(0), 'a');
  EXPECT_EQ(text.GetCharAt(1), -23);
  EXPECT_EQ(text.GetCharAt(2), 0);
  EXPECT_EQ(text.GetCharAt(-1), 0);
  EXPECT_EQ(BasicString().GetCharAt(5), 0);
  text.SetCharAt(0, 'b');
  text.SetCharAt(9, 'z');
  EXPECT_EQ(S(text), "b\xe9");
  text.TruncateText(1);
  EXPECT_EQ(S(text), "b");
  text.TruncateText(10);
  EXPECT_EQ(S(text), "b");
}

TEST(TextHelpers, CaseChangesTouchOnlyAsciiLetters) {
  EXPECT_EQ(S(ToUpperText(BasicString("abz\xe9 09{"))), "ABZ\xe9 09{");
  EXPECT_EQ(S(ToLowerText(BasicString("ABZ\xc9@["))), "abz\xc9@[");
  EXPECT_EQ(ToUpperText(BasicString()).Capacity(), 0u);
}

TEST(TextHelpers, FindTextGivesZeroBasedIndexOrMinusOne) {
  EXPECT_EQ(FindText("hello", "l"), 2);
  EXPECT_EQ(FindText("hello", "z"), -1);
  EXPECT_EQ(FindText("hello", ""), 0);
  EXPECT_EQ(FindText(BasicString(), BasicString("a")), -1);
}

TEST(TextHelpers, TrimControlTailRemovesControlAndHighBytes) {
  BasicString line("value\r\n");
  EXPECT_EQ(TrimControlTail(line), 4);
  EXPECT_EQ(S(line), "value");
  BasicString accented("caf\xe9");
  TrimControlTail(accented);
  EXPECT_EQ(S(accented), "caf");
  BasicString spaces("a  ");
  TrimControlTail(spaces);
  EXPECT_EQ(S(spaces), "a  ");
  BasicString allControl("\n\t");
  EXPECT_EQ(TrimControlTail(allControl), -1);
  EXPECT_EQ(allControl.Length(), 0u);
}

}  // namespace
