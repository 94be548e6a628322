#include "files/platform_info.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ctime>
#include <string>

TEST(PlatformInfo, KeysCompareAfterCapitalising) {
  EXPECT_EQ(PlatformInfo("").View(), "LINUX");
  EXPECT_EQ(PlatformInfo("DEVICE").View(), "DESKTOP");
  EXPECT_EQ(PlatformInfo("device").View(), "DESKTOP");
  EXPECT_EQ(PlatformInfo("DeViCe").View(), "DESKTOP");
  EXPECT_EQ(PlatformInfo("Id").View(), PlatformInfo("ID").View());
  EXPECT_EQ(PlatformInfo("WIN32").View(), "NO_DATA");
  EXPECT_EQ(PlatformInfo("DEVICE ").View(), "NO_DATA");
  EXPECT_EQ(PlatformInfo("TIMEX").View(), "NO_DATA");
}

TEST(PlatformInfo, TimeHasNoLeadingZerosAndAFullYear) {
  std::tm time{};
  time.tm_year = 2007 - 1900;
  time.tm_mon = 2;
  time.tm_mday = 9;
  time.tm_hour = 14;
  time.tm_min = 5;
  time.tm_sec = 0;
  EXPECT_EQ(FormatPlatformTime(time), "2007-3-9 14:5:0");
  time = {};
  time.tm_year = 2030 - 1900;
  time.tm_mon = 11;
  time.tm_mday = 31;
  time.tm_hour = 23;
  time.tm_min = 59;
  time.tm_sec = 59;
  EXPECT_EQ(FormatPlatformTime(time), "2030-12-31 23:59:59");
}

TEST(PlatformInfo, TimeKeyGivesTheLocalTimeInEitherCase) {
  std::time_t before = std::time(nullptr);
  std::string text(PlatformInfo("time").View());
  std::time_t after = std::time(nullptr);
  std::tm parsed{};
  ASSERT_EQ(std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &parsed.tm_year, &parsed.tm_mon, &parsed.tm_mday,
                        &parsed.tm_hour, &parsed.tm_min, &parsed.tm_sec),
            6)
      << text;
  parsed.tm_year -= 1900;
  parsed.tm_mon -= 1;
  parsed.tm_isdst = -1;
  const std::time_t read = std::mktime(&parsed);
  EXPECT_GE(read, before - 1);
  EXPECT_LE(read, after + 1);
  EXPECT_NE(text.find(' '), std::string::npos);
  EXPECT_EQ(text.find("-0"), std::string::npos) << text;
}

TEST(PlatformInfo, IdentifierIsEightCapitalHexDigitsStableForTheMachine) {
  const std::string id(PlatformInfo("ID").View());
  ASSERT_EQ(id.size(), 8u);
  for (const char c : id) EXPECT_TRUE(std::isdigit(c) || (c >= 'A' && c <= 'F')) << id;
  EXPECT_EQ(PlatformInfo("id").View(), id);
}

TEST(PlatformInfo, IdentifierWritesTheMaskedSerialLowestByteFirst) {
  // Two serials that differ only in their lowest byte differ in the first two digits.
  const std::string a = MachineIdentifierText(0x12345600u);
  const std::string b = MachineIdentifierText(0x123456FFu);
  EXPECT_NE(a.substr(0, 2), b.substr(0, 2));
  EXPECT_EQ(a.substr(2), b.substr(2));
  // Flipping every bit of the serial flips every bit of the written value.
  const std::string c = MachineIdentifierText(~0x12345600u);
  const unsigned long written = std::stoul(a.substr(6, 2) + a.substr(4, 2) + a.substr(2, 2) + a.substr(0, 2), nullptr, 16);
  const unsigned long flipped = std::stoul(c.substr(6, 2) + c.substr(4, 2) + c.substr(2, 2) + c.substr(0, 2), nullptr, 16);
  EXPECT_EQ(written ^ flipped, 0xFFFFFFFFul);
}

TEST(PlatformInfo, SerialDependsOnEveryCharacterOfTheMachineId) {
  const std::string id = "0123456789abcdef0123456789abcdef";
  std::string other = id;
  other.back() = 'e';
  EXPECT_EQ(MachineSerial(id), MachineSerial(id));
  EXPECT_NE(MachineSerial(id), MachineSerial(other));
  other = id;
  other.front() = '1';
  EXPECT_NE(MachineSerial(id), MachineSerial(other));
}
