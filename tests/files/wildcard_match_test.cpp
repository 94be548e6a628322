#include "files/wildcard_match.h"

#include <gtest/gtest.h>

TEST(MatchWildcard, LettersCompareWithoutRegardToAsciiCase) {
  EXPECT_TRUE(MatchWildcard("*.TXT", "readme.txt"));
  EXPECT_TRUE(MatchWildcard("ReadMe.Txt", "README.TXT"));
  EXPECT_FALSE(MatchWildcard("*.txt", "readme.tx"));
  // Only ASCII letters fold: bytes above 127 compare as they are.
  EXPECT_FALSE(MatchWildcard("\xC4.txt", "\xE4.txt"));
  EXPECT_TRUE(MatchWildcard("\xC4.txt", "\xC4.TXT"));
}

TEST(MatchWildcard, QuestionMarkIsOneCharacterButNeverADot) {
  EXPECT_TRUE(MatchWildcard("x?z", "xyz"));
  EXPECT_FALSE(MatchWildcard("x?z", "x.z"));
  EXPECT_FALSE(MatchWildcard("x?z", "xz"));
  EXPECT_FALSE(MatchWildcard("x?z", "xyyz"));
  EXPECT_TRUE(MatchWildcard("????", "abcd"));
  EXPECT_FALSE(MatchWildcard("a?", "a"));
}

TEST(MatchWildcard, StarMatchesAnyRunIncludingNoneAndDots) {
  EXPECT_TRUE(MatchWildcard("*", ""));
  EXPECT_TRUE(MatchWildcard("*", "anything.at.all"));
  EXPECT_TRUE(MatchWildcard("a*", "a"));
  EXPECT_TRUE(MatchWildcard("*a", "a"));
  EXPECT_TRUE(MatchWildcard("a*b", "a.x.b"));
  EXPECT_TRUE(MatchWildcard("*.*", "archive.tar.gz"));
  // As a rule of its own, "*.*" needs a dot in the name.
  EXPECT_FALSE(MatchWildcard("*.*", "Makefile"));
}

TEST(MatchWildcard, RepeatedStarsActAsOne) {
  EXPECT_TRUE(MatchWildcard("***", ""));
  EXPECT_TRUE(MatchWildcard("a***b", "ab"));
  EXPECT_TRUE(MatchWildcard("a**b**c", "a-b-c"));
  EXPECT_TRUE(MatchWildcard("**.png", "x.png"));
  EXPECT_FALSE(MatchWildcard("a**b", "ac"));
}

TEST(MatchWildcard, BacktracksToTheMostRecentStar) {
  // The first "b" tried after the star is the wrong one.
  EXPECT_TRUE(MatchWildcard("*bc", "abbc"));
  EXPECT_TRUE(MatchWildcard("a*b*c", "aXbYbZc"));
  EXPECT_TRUE(MatchWildcard("*.png", "a.png.png"));
  EXPECT_TRUE(MatchWildcard("*ab?d", "aabacabcd"));
  EXPECT_FALSE(MatchWildcard("*ab?d", "aabacab.d"));
  // Only the most recent star is retried: "*x" cannot help "a*" once "b" is reached.
  EXPECT_FALSE(MatchWildcard("a*b", "abc"));
  EXPECT_TRUE(MatchWildcard("*a*b", "xaxaxbxb"));
}

TEST(MatchWildcard, BothMustBeUsedUpTogether) {
  EXPECT_TRUE(MatchWildcard("", ""));
  EXPECT_FALSE(MatchWildcard("", "a"));
  EXPECT_FALSE(MatchWildcard("a", ""));
  EXPECT_FALSE(MatchWildcard("abc", "ab"));
  EXPECT_FALSE(MatchWildcard("ab", "abc"));
  EXPECT_FALSE(MatchWildcard("?*", ""));
  // Without a star there is nothing to backtrack to.
  EXPECT_FALSE(MatchWildcard("abd", "abc"));
}
