#pragma once
// The program's command line as one text, and the reverse: a command text split into
// the arguments of a new process.

#include <string>
#include <vector>

// Joins arguments with single blanks; an argument that is empty or holds blanks or tabs
// is put in double quotes.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// Skips the program's own name: a leading quoted name up to its closing quote, or an
// unquoted name up to the first blank or tab; then every following blank and tab.
const char* SkipProgramName(const char* commandLine);

// Splits a command text into arguments: blanks and tabs separate, double quotes group
// (and are removed). No shell syntax is interpreted.
std::vector<std::string> SplitCommandArguments(const std::string& command);
