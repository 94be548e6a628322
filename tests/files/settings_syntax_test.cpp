// The settings file format: what the parser keeps and drops, and what is written back.

#include "files/settings_syntax.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "name: key=value; key=value | name: ..." for compact expectations.
std::string Describe(const SettingsSections& sections) {
  std::string text;
  for (const SettingsSection& section : sections) {
    if (!text.empty()) text += " | ";
    text += section.name + ":";
    for (const SettingsEntry& entry : section.entries) text += " " + entry.key + "=" + entry.value + ";";
  }
  return text;
}

std::string Parsed(std::string_view text) { return Describe(ParseSettingsText(text)); }

TEST(SettingsParser, KeepsTrailingSpacesOfValuesAndSkipsBlanksAroundTheEqualsSign) {
  EXPECT_EQ(Parsed("[S]\n  key = value  \n"), "S: key=value  ;");
  EXPECT_EQ(Parsed("[S]\n\tkey\t=\t\tvalue\n"), "S: key=value;");
  EXPECT_EQ(Parsed("[S]\nkey=a = b\n"), "S: key=a = b;");
}

TEST(SettingsParser, DropsLinesWithoutAValue) {
  EXPECT_EQ(Parsed("[S]\nkey=\nkey\nkey =   \r\nkey value\nok=1\n"), "S: ok=1;");
}

TEST(SettingsParser, RemovesTrailingControlAndHighBytesFromValues) {
  EXPECT_EQ(Parsed("[S]\nv=abc\t\r\x01\n"), "S: v=abc;");
  EXPECT_EQ(Parsed("[S]\nv=abc\xE9\xFF\n"), "S: v=abc;");
  EXPECT_EQ(Parsed("[S]\nv=a\xE9z\n"), "S: v=a\xE9z;");
}

TEST(SettingsParser, ValueOfOnlyControlAndHighBytesIsDroppedSoAWriteBackReadsTheSame) {
  for (const char* text : {"[x]\nc=\xd2\n", "[x]\nc= \x01\x1f\xff\n", "[x]\nc=\x05\r\n"}) {
    const SettingsSections sections = ParseSettingsText(text);
    EXPECT_EQ(FindSettingValue(sections, "x", "c"), nullptr) << text;
    EXPECT_EQ(Describe(ParseSettingsText(FormatSettingsText(sections))), Describe(sections)) << text;
  }
  EXPECT_EQ(Parsed("[x]\nc=\xd2 \n"), "x: c=\xd2 ;");  // a trailing space ends the trimming
}

TEST(SettingsParser, HeaderNameEndsAtTheFirstBlankAndLosesOneClosingBracket) {
  EXPECT_EQ(Parsed("[Player]\na=1\n"), "Player: a=1;");
  EXPECT_EQ(Parsed("[My Game]\na=1\n"), "My: a=1;");
  EXPECT_EQ(Parsed("[  Padded ]\na=1\n"), "Padded: a=1;");
  EXPECT_EQ(Parsed("[A=B]\na=1\n"), "A: a=1;");
  EXPECT_EQ(Parsed("[Two]]\na=1\n"), "Two]: a=1;");
}

TEST(SettingsParser, EmptyHeaderKeepsTheCurrentSection) {
  EXPECT_EQ(Parsed("[A]\na=1\n[]\nb=2\n[ ]\nc=3\n"), "A: a=1; b=2; c=3;");
}

TEST(SettingsParser, SectionsWithoutEntriesAreDropped) {
  EXPECT_EQ(Parsed("[A]\n[B]\nb=2\n"), "B: b=2;");
  EXPECT_EQ(Parsed("[A]\na=1\n[B]\n; nothing here\n"), "A: a=1;");
  EXPECT_EQ(Parsed(""), "");
}

TEST(SettingsParser, EntriesBeforeTheFirstHeaderBelongToTheUnnamedSection) {
  EXPECT_EQ(Parsed("top=1\n[A]\na=1\n"), ": top=1; | A: a=1;");
}

TEST(SettingsParser, CommentsAndLeadingBlanksAndBothLineEnds) {
  EXPECT_EQ(Parsed("; c\r\n  ;c=1\r\n\r\n \t[A]\r\n\t a=1\r\nb=2"), "A: a=1; b=2;");
}

TEST(SettingsParser, SplitsLinesLongerThan1024Bytes) {
  // The 1024 bytes of the first piece form a key line with no "=" (dropped); the rest of
  // the physical line is parsed as a line of its own.
  const std::string longLine = std::string(1024, 'k') + "x=1\n";
  EXPECT_EQ(Parsed("[A]\n" + longLine), "A: x=1;");
  const std::string exactLine = "v=" + std::string(1022, 'z') + "\n";
  const SettingsSections sections = ParseSettingsText("[A]\n" + exactLine);
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].entries.at(0).value, std::string(1022, 'z'));
}

TEST(SettingsParser, TextWithoutLineFeedsIsCutInto1024BytePieces) {
  // Carriage returns alone do not end lines: each piece is one line.
  std::string text = "[A]" + std::string(1021, ' ') + "b=2" + std::string(1021, '\r') + "c=3";
  EXPECT_EQ(Parsed(text), "A: b=2; c=3;");
}

TEST(SettingsParser, KeepsDuplicateSectionsButLookupFindsTheFirst) {
  const SettingsSections sections = ParseSettingsText("[A]\nx=1\n[B]\ny=2\n[a]\nx=3\nz=4\n");
  EXPECT_EQ(Describe(sections), "A: x=1; | B: y=2; | a: x=3; z=4;");
  EXPECT_EQ(*FindSettingValue(sections, "a", "X"), "1");
  EXPECT_EQ(FindSettingValue(sections, "A", "z"), nullptr);  // only in the second [a]
  EXPECT_EQ(FindSettingValue(sections, "C", "x"), nullptr);
}

TEST(SettingsNames, MatchIgnoringAsciiCaseOnly) {
  EXPECT_TRUE(SettingsNamesMatch("PLAYER", "player"));
  EXPECT_TRUE(SettingsNamesMatch("", ""));
  EXPECT_FALSE(SettingsNamesMatch("player", "players"));
  EXPECT_FALSE(SettingsNamesMatch("\xC9", "\xE9"));  // no case folding beyond ASCII
  EXPECT_FALSE(SettingsNamesMatch("[", "{"));
}

TEST(SettingsFormat, WritesHeadersAndEntriesWithCrLf) {
  const SettingsSections sections = {{"A", {{"x", "1"}, {"y", ""}}}, {"B", {}}};
  EXPECT_EQ(FormatSettingsText(sections), "[A]\r\nx=1\r\ny=\r\n[B]\r\n");
  EXPECT_EQ(FormatSettingsText({}), "");
}

TEST(SettingsFormat, WhatIsWrittenReadsBackTheSame) {
  const std::string original = "; comment\n[Video]\nwidth = 800\nmode=full screen  \n[Audio]\nvolume=7\n";
  const SettingsSections sections = ParseSettingsText(original);
  EXPECT_EQ(Describe(ParseSettingsText(FormatSettingsText(sections))), Describe(sections));
}

TEST(SettingsFormat, UnnamedSectionIsWrittenFirstSoItsEntriesComeBackUnderIt) {
  const SettingsSections sections = {{"A", {{"a", "1"}}}, {"", {{"free", "2"}}}};
  const SettingsSections reread = ParseSettingsText(FormatSettingsText(sections));
  ASSERT_NE(FindSettingValue(reread, "", "free"), nullptr);
  EXPECT_EQ(*FindSettingValue(reread, "", "free"), "2");
  EXPECT_EQ(FindSettingValue(reread, "A", "free"), nullptr);
  EXPECT_EQ(*FindSettingValue(reread, "A", "a"), "1");
}

}  // namespace
