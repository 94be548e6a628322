#pragma once
// The diagnostic log "ErrorLog.txt" in the engine's temporary directory. Every line is a
// separate open, append and close, so writers never mix and a crash loses one line at most.

#include <string>

inline constexpr const char* kErrorLogName = "ErrorLog.txt";

std::string ErrorLogPath();
// Appends text and "\r\n"; drops the line silently when the log cannot be opened.
void LogError(const char* text);
// Engine: removes the log of an earlier run.
void DeleteErrorLog();
