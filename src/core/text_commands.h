#pragma once
// Commands that cut, rewrite and split text, and one that sends text to a debugger.
// Each works on its own copy: the caller's text never changes, even when it is an
// element of the array a command fills.

#include <cstdio>

#include "core/basic_string.h"
#include "core/runtime_array.h"

// At most count bytes of the text from byte start (0-based, truncated toward zero); the
// empty text when nothing is selected.
BasicString MidText(const BasicString& text, double start, double count);

// The text with the occurrences of search replaced. After an equal-length replacement the
// search goes on right behind it; otherwise it goes on r - s + 1 bytes after the start of
// the occurrence (s, r: lengths of search and replacement), but never before the start of
// the text. An empty search text leaves the text unchanged.
BasicString ReplaceText(const BasicString& text, const BasicString& search, const BasicString& replacement);

// Splits the text at every byte that occurs in delimiters and fills tokens (dimensioned
// to the number of tokens) with the pieces in order; returns their number. Runs of
// delimiters between tokens and at the start give no tokens; once only delimiters are
// left, each of them gives one empty token. With no delimiters the whole text is one
// token (none for the empty text).
double SplitText(const BasicString& text, StringArray& tokens, const BasicString& delimiters);

// With a debugger attached, sends "TX" followed by the text to it; otherwise does nothing.
void DebugText(const BasicString& text);
// The debugger's output channel: one line, "TX" followed by the text.
void WriteDebugText(const BasicString& text, std::FILE* channel);
