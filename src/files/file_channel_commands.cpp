#include "files/file_channel_commands.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/program_end.h"
#include "files/channel_values.h"
#include "files/game_files.h"

namespace {

constexpr double kBadChannelError = 7;
constexpr double kChannelIoError = 3;

FileChannel& ChannelOrEnd(double channel) {
  const double number = std::trunc(channel);
  if (!(number >= 0 && number < GameFiles::kChannelCount)) EndProgramWithError(kBadChannelError);
  return ActiveGameFiles().channels[static_cast<std::size_t>(number)];
}

void ReadOrEnd(double channel, void* bytes, std::size_t count) {
  if (!ChannelOrEnd(channel).ReadExact(bytes, count)) EndProgramWithError(kChannelIoError);
}

void WriteOrEnd(double channel, std::string_view bytes) {
  if (!ChannelOrEnd(channel).Write(bytes)) EndProgramWithError(kChannelIoError);
}

template <std::size_t N>
void WriteOrEnd(double channel, const std::array<unsigned char, N>& bytes) {
  WriteOrEnd(channel, std::string_view(reinterpret_cast<const char*>(bytes.data()), N));
}

// Game texts end at their first zero byte.
std::string_view TextOf(const BasicString& text) { return text.TextPointer(); }

BasicString TextUpToZero(const std::string& bytes) {
  return BasicString(std::string_view(bytes.data(), std::min(bytes.size(), bytes.find('\0'))));
}

}  // namespace

double OpenFileChannel(double channel, const BasicString& fileName, double forReading) {
  FileChannel& target = ChannelOrEnd(channel);
  const std::string path(TextOf(fileName));
  const bool opened = forReading != 0 ? target.OpenForReading(path) : target.OpenForWriting(path);
  return opened ? 1 : 0;
}

double CloseFileChannel(double channel) {
  ChannelOrEnd(channel).Close();
  return 0;
}

double EndOfFileChannel(double channel) { return ChannelOrEnd(channel).AtEnd() ? 1 : 0; }

double ReadByte(double channel, double& value) {
  unsigned char byte = 0;
  ReadOrEnd(channel, &byte, kByteSize);
  return value = byte;
}

double ReadWord(double channel, double& value) {
  unsigned char bytes[kWordSize];
  ReadOrEnd(channel, bytes, kWordSize);
  return value = DecodeWord(bytes);
}

double ReadLong(double channel, double& value) {
  unsigned char bytes[kLongSize];
  ReadOrEnd(channel, bytes, kLongSize);
  return value = DecodeLong(bytes);
}

double ReadDouble(double channel, double& value) {
  unsigned char bytes[kDoubleSize];
  ReadOrEnd(channel, bytes, kDoubleSize);
  return value = DecodeDouble(bytes);
}

BasicString ReadBytes(double channel, double count, BasicString& text) {
  FileChannel& source = ChannelOrEnd(channel);
  const double wanted = std::trunc(count);
  if (!(wanted > 0)) return text = BasicString();
  // Counts beyond any file size still fail as a short read, never as an allocation.
  const auto byteCount = wanted < 1e18 ? static_cast<std::uint64_t>(wanted) : std::uint64_t{1} << 60;
  std::string bytes;
  if (!source.ReadText(byteCount, bytes)) EndProgramWithError(kChannelIoError);
  return text = TextUpToZero(bytes);
}

BasicString ReadLine(double channel, BasicString& text) {
  std::string line;
  if (!ChannelOrEnd(channel).ReadLine(line)) EndProgramWithError(kChannelIoError);
  return text = TextUpToZero(line);
}

double ReadLineNumber(double channel, double& value) {
  BasicString text;
  ReadLine(channel, text);
  return value = ParseNumber(text.TextPointer());
}

void WriteByte(double channel, double value) {
  const char byte = static_cast<char>(ByteToWrite(value));
  WriteOrEnd(channel, std::string_view(&byte, 1));
}

void WriteWord(double channel, double value) { WriteOrEnd(channel, EncodeWord(WordToWrite(value))); }

void WriteLong(double channel, double value) { WriteOrEnd(channel, EncodeLong(LongToWrite(value))); }

void WriteDouble(double channel, double value) { WriteOrEnd(channel, EncodeDouble(value)); }

void WriteBytes(double channel, const BasicString& text) { WriteOrEnd(channel, text.View()); }

void WriteLine(double channel, const BasicString& text) {
  std::string line(text.View());
  line += "\r\n";
  WriteOrEnd(channel, line);
}

void WriteNumberLine(double channel, double value) { WriteLine(channel, FormatNumber(value)); }

double FileLength(const BasicString& fileName) {
  const FileHandle file = OpenFileForReading(std::string(TextOf(fileName)));
  return file.IsOpen() ? static_cast<double>(FileSizeOf(file)) : 0;
}
