#pragma once
// Commands on the eight numbered file channels. Channel numbers are truncated toward
// zero; a number outside 0 to 7 ends the program with error code 7. A read or write on
// an empty channel, or one the file cannot satisfy in full, ends it with error code 3.
// Values are little-endian. Reads hand their value back both as the result and through
// the out argument.

#include "core/basic_string.h"

// Closes what the channel holds, then opens name: for reading (forReading not 0) an
// existing file, else a new file replacing any old one. 1 when opened, else 0 (the
// channel stays empty).
double OpenFileChannel(double channel, const BasicString& fileName, double forReading);
// Always 0.
double CloseFileChannel(double channel);
// 1 when the reads so far reached the size the file had when opened (always 1 for a
// channel opened for writing), else 0.
double EndOfFileChannel(double channel);

// Binary reads of little-endian unsigned integers and doubles: the value read, also
// stored in value.
double ReadByte(double channel, double& value);    // 0 to 255
double ReadWord(double channel, double& value);    // 0 to 65535
double ReadLong(double channel, double& value);    // 0 to 4294967295
double ReadDouble(double channel, double& value);
// count bytes, the text ending at the first zero byte among them; "" for a count of 0
// or less, without touching the file.
BasicString ReadBytes(double channel, double count, BasicString& text);
// The next line without its line end (see ReadTextLine); at most 1024 bytes.
BasicString ReadLine(double channel, BasicString& text);
// The next line read as a number (its leading number, else 0).
double ReadLineNumber(double channel, double& value);

// Binary writes: the value as 1, 2 or 4 bytes (little-endian), or the 8 bytes of the
// double.
void WriteByte(double channel, double value);
void WriteWord(double channel, double value);
void WriteLong(double channel, double value);
void WriteDouble(double channel, double value);
// The text's bytes, without a terminator.
void WriteBytes(double channel, const BasicString& text);
// The text followed by "\r\n", in one write.
void WriteLine(double channel, const BasicString& text);
// The value as the runtime writes numbers, followed by "\r\n".
void WriteNumberLine(double channel, double value);

// The size of the plain file in bytes, 0 when it cannot be opened. The archive is not
// consulted.
double FileLength(const BasicString& fileName);
