// The numbered file channels: every value kind written and read back, text lines, the end
// of a file, and file sizes. Fatal errors are covered by data_files_program_test.cpp.

#include "files/file_channel_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "data_files_fixture.h"
#include "files/channel_values.h"

namespace {

class FileChannels : public DataFilesTest {
 protected:
  // Opens name for writing on channel 1, runs write, closes, opens it for reading on 2.
  template <typename Writes>
  void WriteThenOpen(const std::string& name, Writes write) {
    ASSERT_EQ(OpenFileChannel(1, PathOf(name), 0), 1);
    write();
    CloseFileChannel(1);
    ASSERT_EQ(OpenFileChannel(2, PathOf(name), 1), 1);
  }
  double Byte() { double v = -1; return ReadByte(2, v) == v ? v : -2; }
  double Word() { double v = -1; return ReadWord(2, v) == v ? v : -2; }
  double Long() { double v = -1; return ReadLong(2, v) == v ? v : -2; }
  double Double() { double v = -1; return ReadDouble(2, v); }
  std::string Line(double channel = 2) {
    BasicString text;
    const BasicString result = ReadLine(channel, text);
    EXPECT_EQ(result.View(), text.View());
    return text.TextPointer();
  }
};

TEST_F(FileChannels, NumbersRoundTripWithTheirWriteRules) {
  WriteThenOpen("values.bin", [] {
    WriteLong(1, 70000);
    WriteLong(1, -1);
    WriteLong(1, 3000000000.0);  // a value ReadLong can give writes back unchanged
    WriteWord(1, 70000);
    WriteWord(1, -1);
    WriteByte(1, 255);
    WriteByte(1, -1);
    WriteByte(1, 300.9);
    WriteByte(1, 40000);  // outside 16 bits
    WriteDouble(1, -2.5e-300);
  });
  EXPECT_EQ(Long(), 70000);
  EXPECT_EQ(Long(), 4294967295.0);
  EXPECT_EQ(Long(), 3000000000.0);
  EXPECT_EQ(Word(), 4464);
  EXPECT_EQ(Word(), 65535);
  EXPECT_EQ(Byte(), 255);
  EXPECT_EQ(Byte(), 255);
  EXPECT_EQ(Byte(), 44);
  EXPECT_EQ(Byte(), 0);
  EXPECT_EQ(Double(), -2.5e-300);
  EXPECT_EQ(EndOfFileChannel(2), 1);
}

TEST_F(FileChannels, ValuesAreLittleEndianOnDisk) {
  WriteThenOpen("layout.bin", [] {
    WriteWord(1, 0x1234);
    WriteLong(1, 0x0A0B0C0D);
    WriteDouble(1, 1.0);
  });
  EXPECT_EQ(Read("layout.bin"), std::string("\x34\x12\x0D\x0C\x0B\x0A\0\0\0\0\0\0\xF0\x3F", 14));
}

TEST(ChannelValueRules, IntegerConversionsAtTheirLimits) {
  EXPECT_EQ(ByteToWrite(32767), 0xFF);
  EXPECT_EQ(ByteToWrite(-32768), 0x00);
  EXPECT_EQ(ByteToWrite(-32768.9), 0x00);
  EXPECT_EQ(ByteToWrite(32768), 0);
  EXPECT_EQ(ByteToWrite(-0.9), 0);
  EXPECT_EQ(ByteToWrite(0.0 / 0.0), 0);
  EXPECT_EQ(LongToWrite(-2147483648.0), 0x80000000u);
  EXPECT_EQ(LongToWrite(4294967295.9), 0xFFFFFFFFu);
  EXPECT_EQ(LongToWrite(4294967296.0), 0x80000000u);
  EXPECT_EQ(LongToWrite(-2147483649.0), 0x80000000u);
  EXPECT_EQ(LongToWrite(1e300), 0x80000000u);
  EXPECT_EQ(LongToWrite(-7.9), static_cast<std::uint32_t>(-7));
  EXPECT_EQ(WordToWrite(-65536.5), 0);
}

TEST_F(FileChannels, BytesAndTextLines) {
  WriteThenOpen("text.bin", [] {
    WriteBytes(1, "abc");
    WriteLine(1, "line one");
    WriteNumberLine(1, 0.5);
    WriteNumberLine(1, 1234567890123.0);
    WriteBytes(1, BasicString(std::string_view("x\0yz", 4)));
  });
  EXPECT_EQ(Read("text.bin"), std::string("abcline one\r\n0.5\r\n1.23456789e+12\r\n", 34) + std::string("x\0yz", 4));
  BasicString text = "untouched";
  EXPECT_EQ(ReadBytes(2, 0, text), "");
  EXPECT_EQ(ReadBytes(2, -5, text), "");
  EXPECT_EQ(ReadBytes(2, 3.9, text), "abc");
  EXPECT_EQ(Line(), "line one");
  double number = 0;
  EXPECT_EQ(ReadLineNumber(2, number), 0.5);
  EXPECT_EQ(number, 0.5);
  EXPECT_EQ(ReadLineNumber(2, number), 1234567890000.0);
  EXPECT_EQ(ReadBytes(2, 4, text), "x");  // the text ends at the zero byte
  EXPECT_EQ(EndOfFileChannel(2), 1);
}

TEST_F(FileChannels, ReadLineHandlesCrLfAndALastLineWithoutLineEnd) {
  Write("lines.txt", "a\r\nb");
  ASSERT_EQ(OpenFileChannel(0, PathOf("lines.txt"), 1), 1);
  EXPECT_EQ(Line(0), "a");
  EXPECT_EQ(EndOfFileChannel(0), 0);
  EXPECT_EQ(Line(0), "b");
  EXPECT_EQ(EndOfFileChannel(0), 1);
}

TEST_F(FileChannels, ReadLineDropsOneCarriageReturnAndKeepsEmptyLines) {
  Write("cr.txt", "x\r\r\n\n\r\nlast\r");
  ASSERT_EQ(OpenFileChannel(7, PathOf("cr.txt"), 1), 1);
  EXPECT_EQ(Line(7), "x\r");
  EXPECT_EQ(Line(7), "");
  EXPECT_EQ(Line(7), "");
  EXPECT_EQ(Line(7), "last");
  EXPECT_EQ(EndOfFileChannel(7), 1);
}

TEST_F(FileChannels, LongLinesAreCutAt1024BytesAndTheRestIsTheNextLine) {
  const std::string first(1024, 'a');
  const std::string almost(1023, 'b');
  Write("long.txt", first + "tail\n" + almost + "\n" + std::string(64, 'c'));
  ASSERT_EQ(OpenFileChannel(2, PathOf("long.txt"), 1), 1);
  EXPECT_EQ(Line(), first);
  EXPECT_EQ(Line(), "tail");
  EXPECT_EQ(Line(), almost);
  // A last line filling whole 64-byte chunks ends at the end of the file too.
  EXPECT_EQ(Line(), std::string(64, 'c'));
  EXPECT_EQ(EndOfFileChannel(2), 1);
}

TEST_F(FileChannels, LinesAcrossTheReadBufferAndMixedWithValues) {
  // Lines that straddle the 64 KiB read buffer, then binary values right after a line.
  std::string contents;
  for (int i = 0; i < 3000; ++i) contents += "line " + std::to_string(i) + "\r\n";
  contents += "end\n";
  contents += std::string("\x10\x27\0\0", 4);
  Write("many.txt", contents);
  ASSERT_EQ(OpenFileChannel(2, PathOf("many.txt"), 1), 1);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(Line(), "line " + std::to_string(i)) << i;
  EXPECT_EQ(Line(), "end");
  EXPECT_EQ(Long(), 10000);
  EXPECT_EQ(EndOfFileChannel(2), 1);
}

TEST_F(FileChannels, EndOfFileFollowsTheReadsAndIsAlwaysSetForWriting) {
  Write("two.bin", "ab");
  ASSERT_EQ(OpenFileChannel(4, PathOf("two.bin"), 1), 1);
  EXPECT_EQ(EndOfFileChannel(4), 0);
  double value = 0;
  ReadByte(4, value);
  EXPECT_EQ(EndOfFileChannel(4), 0);
  ReadByte(4, value);
  EXPECT_EQ(EndOfFileChannel(4), 1);

  ASSERT_EQ(OpenFileChannel(5, PathOf("written.bin"), 0), 1);
  EXPECT_EQ(EndOfFileChannel(5), 1);
  WriteLong(5, 1);
  EXPECT_EQ(EndOfFileChannel(5), 1);
}

TEST_F(FileChannels, OpeningReplacesWhatTheChannelHeldAndFailuresLeaveItEmpty) {
  Write("old.bin", "old contents");
  ASSERT_EQ(OpenFileChannel(3, PathOf("out.bin"), 0), 1);
  WriteBytes(3, "kept");
  // Reopening the channel closes the written file first.
  ASSERT_EQ(OpenFileChannel(3, PathOf("old.bin"), 0), 1);
  EXPECT_EQ(Read("out.bin"), "kept");
  EXPECT_EQ(Read("old.bin"), "");  // opening for writing replaces the file

  EXPECT_EQ(OpenFileChannel(3, PathOf("missing.bin"), 1), 0);
  EXPECT_EQ(OpenFileChannel(3, "", 1), 0);
  EXPECT_EQ(OpenFileChannel(3, PathOf("no/such/folder/x.bin"), 0), 0);
  std::filesystem::create_directories(scratch.Path() + "/folder");
  EXPECT_EQ(OpenFileChannel(3, PathOf("folder"), 1), 0);
  EXPECT_EQ(CloseFileChannel(3), 0);
}

TEST_F(FileChannels, APipeIsRefusedInsteadOfWaitingForAWriter) {
  const std::string pipe = scratch.Path() + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(OpenFileChannel(0, PathOf("pipe"), 1), 0);
  EXPECT_EQ(OpenFileChannel(0, PathOf("pipe"), 0), 0);
  EXPECT_EQ(FileLength(PathOf("pipe")), 0);
}

TEST_F(FileChannels, ChannelNumbersAreTruncated) {
  Write("t.bin", "z");
  ASSERT_EQ(OpenFileChannel(7.9, PathOf("t.bin"), 1), 1);
  double value = 0;
  EXPECT_EQ(ReadByte(7, value), 'z');
  ASSERT_EQ(OpenFileChannel(-0.5, PathOf("t.bin"), 1), 1);
  EXPECT_EQ(ReadByte(0, value), 'z');
}

TEST_F(FileChannels, FileLengthReportsPlainFileSizes) {
  Write("ten.bin", "0123456789");
  Write("empty.bin", "");
  EXPECT_EQ(FileLength(PathOf("ten.bin")), 10);
  EXPECT_EQ(FileLength(PathOf("empty.bin")), 0);
  EXPECT_EQ(FileLength(PathOf("missing.bin")), 0);
  EXPECT_EQ(FileLength(""), 0);
}

TEST_F(FileChannels, ProgramEndClosesOpenChannelsWithTheirData) {
  ASSERT_EQ(OpenFileChannel(6, PathOf("left-open.bin"), 0), 1);
  WriteLine(6, "kept");
  ReleaseGameFiles();
  EXPECT_EQ(Read("left-open.bin"), "kept\r\n");
}

}  // namespace
