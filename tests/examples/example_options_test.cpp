// The command line of the example games: options are words, a value is the word after
// its option, numbers are clamped and anything else falls back.

#include "../../examples/common/example_options.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct NumberCase {
  const char* line;
  int expected;
};

class AutopilotFramesOption : public ::testing::TestWithParam<NumberCase> {};

TEST_P(AutopilotFramesOption, ReadsTheWordAfterTheOption) {
  EXPECT_EQ(example::AutopilotFrames(example::SplitWords(GetParam().line)), GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Lines, AutopilotFramesOption,
                         ::testing::Values(NumberCase{"", 0},                       // the player plays
                                           NumberCase{"--frames 180", 180},
                                           NumberCase{"  --host   --frames\t42 ", 42},
                                           NumberCase{"--frames 7 --frames 9", 7},  // the first one counts
                                           NumberCase{"--frames 0", 1},             // at least one frame
                                           NumberCase{"--frames -5", 1},
                                           NumberCase{"--frames 99999999999999999999", INT_MAX},
                                           NumberCase{"--frames", 0},               // no value
                                           NumberCase{"--frames ten", 0},           // not a number
                                           NumberCase{"--frames 12x", 0},
                                           NumberCase{"--frame 12", 0}));           // whole words only

TEST(ExampleOptions, TextAndFlagOptionsFindWholeWords) {
  const example::Words words = example::SplitWords("--join 127.0.0.1 --port 26001 --name Bob");
  EXPECT_TRUE(example::HasOption(words, "--join"));
  EXPECT_FALSE(example::HasOption(words, "--host"));
  EXPECT_EQ(example::TextOption(words, "--join", ""), "127.0.0.1");
  EXPECT_EQ(example::TextOption(words, "--name", "Player"), "Bob");
  EXPECT_EQ(example::NumberOption(words, "--port", 26000, 1, 65535), 26001);
  // Missing, or the last word with nothing after it: the fallback.
  EXPECT_EQ(example::TextOption(words, "--colour", "red"), "red");
  EXPECT_EQ(example::TextOption(example::SplitWords("--name"), "--name", "Player"), "Player");
  EXPECT_EQ(example::NumberOption(example::SplitWords("--port 70000"), "--port", 26000, 1, 65535), 65535);
}

}  // namespace
