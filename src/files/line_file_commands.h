#pragma once
// Commands that address a text file as an array of lines 0 to 255. One file is cached at
// a time; a changed file is written back when another name is used or the program ends.
// Line files never end the program: bad line numbers set error code 7, a missing file
// sets error code 3.

#include "core/basic_string.h"

// Stores text (cut at 1023 bytes) in the line; lines skipped over become empty lines.
void PutFileLine(const BasicString& fileName, double line, const BasicString& text);
// The same with the value written as the runtime writes numbers.
void PutFileLineNumber(const BasicString& fileName, double line, double value);
// The line without trailing control bytes (below 32, and 128 to 255); "NO_DATA" when that
// leaves nothing or the line number is out of range, "NO_FILE" when the file cannot be
// read. Handed back both as the result and through the out argument.
BasicString GetFileLine(const BasicString& fileName, double line, BasicString& text);
// The text of GetFileLine read as a number (its leading number, else 0).
double GetFileLineNumber(const BasicString& fileName, double line, double& value);
