#include "core/text_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/debugger_check.h"

namespace {

std::string S(const BasicString& text) { return std::string(text.View()); }

std::vector<std::string> Tokens(const std::string& text, const std::string& delimiters) {
  StringArray array;
  const double count = SplitText(BasicString(text), array, BasicString(delimiters));
  std::vector<std::string> tokens;
  for (int i = 0; i < static_cast<int>(count); ++i) tokens.push_back(S(ArrayElement(array, i)));
  EXPECT_EQ(GetArrayBound(array, 0), count);
  return tokens;
}

using List = std::vector<std::string>;

TEST(MidText, SelectsAtMostCountBytesFromStart) {
  const BasicString hello("hello");
  EXPECT_EQ(S(MidText(hello, 1, 3)), "ell");
  EXPECT_EQ(S(MidText(hello, 3, 10)), "lo");
  EXPECT_EQ(S(MidText(hello, 5, 1)), "");
  EXPECT_EQ(S(MidText(hello, 1.7, 3)), "ell");
  EXPECT_EQ(S(MidText(hello, 0, 5)), "hello");
  EXPECT_EQ(S(MidText(hello, 4.5, 1)), "o");
}

TEST(MidText, NothingSelectedGivesTheEmptyText) {
  const BasicString hello("hello");
  EXPECT_EQ(S(MidText(hello, 1, 0)), "");
  EXPECT_EQ(S(MidText(hello, 1, -2)), "");
  EXPECT_EQ(S(MidText(hello, -1, 3)), "");
  EXPECT_EQ(S(MidText(hello, 6, 1)), "");
  EXPECT_EQ(S(MidText(hello, 1e300, 1e300)), "");
  EXPECT_EQ(S(MidText(hello, 2, 1e300)), "llo");
  EXPECT_EQ(S(MidText(hello, std::nan(""), 2)), "");
  EXPECT_EQ(S(MidText(BasicString(), 0, 3)), "");
  EXPECT_EQ(S(hello), "hello");
}

TEST(ReplaceText, SearchGoesOnBehindOrInsideTheReplacement) {
  EXPECT_EQ(S(ReplaceText(BasicString("banana"), BasicString("an"), BasicString("o"))), "booa");
  EXPECT_EQ(S(ReplaceText(BasicString("aaa"), BasicString("a"), BasicString("bb"))), "bbbbbb");
  EXPECT_EQ(S(ReplaceText(BasicString("abc"), BasicString("b"), BasicString("x"))), "axc");
  EXPECT_EQ(S(ReplaceText(BasicString("aaaa"), BasicString("aa"), BasicString("b"))), "bb");
  // Equal lengths: in place, the search resumes behind the replacement.
  EXPECT_EQ(S(ReplaceText(BasicString("aaaa"), BasicString("aa"), BasicString("ab"))), "abab");
  // Two bytes longer than the replacement: the next search would start before the
  // text, and starts at its beginning instead.
  EXPECT_EQ(S(ReplaceText(BasicString("xyzxyz"), BasicString("xyz"), BasicString())), "");
  EXPECT_EQ(S(ReplaceText(BasicString("xyxyzz"), BasicString("xyz"), BasicString())), "");
}

TEST(ReplaceText, TextsWithoutTheSearchTextComeBackUnchanged) {
  const BasicString text("hello world");
  EXPECT_EQ(S(ReplaceText(text, BasicString("xyz"), BasicString("q"))), "hello world");
  EXPECT_EQ(S(ReplaceText(text, BasicString(), BasicString("q"))), "hello world");
  EXPECT_EQ(S(ReplaceText(BasicString(), BasicString("a"), BasicString("q"))), "");
  EXPECT_EQ(S(ReplaceText(BasicString("ab"), BasicString("abc"), BasicString("q"))), "ab");
  EXPECT_EQ(S(text), "hello world");
}

TEST(ReplaceText, ZeroBytesAreOrdinaryBytes) {
  const BasicString text(std::string_view("a\0b\0c", 5));
  EXPECT_EQ(S(ReplaceText(text, BasicString(std::string_view("\0", 1)), BasicString("--"))), "a--b--c");
}

// The rule applied literally to a std::string, rebuilding the text at every occurrence.
std::string LiteralReplace(std::string text, const std::string& search, const std::string& replacement) {
  if (search.empty()) return text;
  std::size_t p = 0;
  for (;;) {
    const std::size_t m = text.find(search, p);
    if (m == std::string::npos) return text;
    const long long next = static_cast<long long>(m) + static_cast<long long>(replacement.size()) -
                           static_cast<long long>(search.size()) + 1;
    text = text.substr(0, m) + replacement + text.substr(m + search.size());
    p = search.size() == replacement.size() ? m + replacement.size() : static_cast<std::size_t>(std::max(0LL, next));
  }
}

TEST(ReplaceText, AgreesWithTheLiteralRuleOnRandomTexts) {
  // A two-letter alphabet makes occurrences overlap and straddle replacements often.
  std::mt19937 random(12345);
  const auto word = [&](int maxLength) {
    std::string w(random() % (maxLength + 1), 'a');
    for (char& c : w) c = "ab"[random() % 2];
    return w;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string text = word(14), search = word(4), replacement = word(5);
    ASSERT_EQ(S(ReplaceText(BasicString(text), BasicString(search), BasicString(replacement))),
              LiteralReplace(text, search, replacement))
        << text << " / " << search << " / " << replacement;
  }
}

TEST(SplitText, DelimiterRunsBetweenTokensGiveNoTokens) {
  EXPECT_EQ(Tokens("a,b,c", ","), (List{"a", "b", "c"}));
  EXPECT_EQ(Tokens(",a,,b", ","), (List{"a", "b"}));
  EXPECT_EQ(Tokens("a b;c", " ;"), (List{"a", "b", "c"}));
  EXPECT_EQ(Tokens("  many   blanks here", " "), (List{"many", "blanks", "here"}));
}

TEST(SplitText, TrailingDelimitersGiveOneEmptyTokenEach) {
  EXPECT_EQ(Tokens("a,,", ","), (List{"a", ""}));
  EXPECT_EQ(Tokens("a,,,", ","), (List{"a", "", ""}));
  EXPECT_EQ(Tokens("a,", ","), (List{"a"}));
  EXPECT_EQ(Tokens(",", ","), (List{""}));
  EXPECT_EQ(Tokens(",,,", ","), (List{"", "", ""}));
}

TEST(SplitText, EmptyTextsAndEmptyDelimiterSets) {
  StringArray array;
  DimStringArray(array, 5);
  EXPECT_EQ(SplitText(BasicString(), array, BasicString(",")), 0);
  EXPECT_EQ(array.dim0, 0);
  EXPECT_EQ(Tokens("a,b", ""), (List{"a,b"}));
  EXPECT_EQ(Tokens("", ""), (List{}));
}

TEST(SplitText, TheTextMayBeAnElementOfTheArrayItFills) {
  StringArray array;
  DimStringArray(array, 3);
  ArrayElement(array, 1) = "x;y;z";
  EXPECT_EQ(SplitText(ArrayElement(array, 1), array, BasicString(";")), 3);
  EXPECT_EQ(S(ArrayElement(array, 0)), "x");
  EXPECT_EQ(S(ArrayElement(array, 1)), "y");
  EXPECT_EQ(S(ArrayElement(array, 2)), "z");
}

TEST(SplitText, ManyTokensKeepTheirOrder) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += std::to_string(i) + "\t";
  StringArray array;
  ASSERT_EQ(SplitText(BasicString(text), array, BasicString("\t")), 3000);
  for (int i = 0; i < 3000; i += 499) EXPECT_EQ(S(ArrayElement(array, i)), std::to_string(i));
}

TEST(DebugText, WritesTXAndTheTextAsOneLine) {
  std::FILE* channel = std::tmpfile();
  ASSERT_NE(channel, nullptr);
  WriteDebugText(BasicString("score 10"), channel);
  std::rewind(channel);
  char line[64] = {};
  ASSERT_NE(std::fgets(line, sizeof line, channel), nullptr);
  EXPECT_STREQ(line, "TXscore 10\n");
  std::fclose(channel);
}

TEST(DebugText, DoesNothingWithoutADebugger) {
  if (IsDebuggerAttached()) GTEST_SKIP() << "running under a debugger";
  ::testing::internal::CaptureStderr();
  DebugText(BasicString("hidden"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
