#pragma once
// The one way out of the program, and the error code every fatal command error records.

#include "core/basic_string.h"

// errorCode = code, errorLine = currentLine; returns the code.
double SetErrorCode(double code);
// Records the compiled program's position: positionTag = tag, currentLine = line.
void SetSourcePosition(double tag, double line);

// Engine: releases every subsystem object in the fixed order, each once.
void ShutdownEngine();
// Engine: ShutdownEngine, the end-of-program block in the log when debugMode is on, exit
// code 0.
[[noreturn]] void EndProgram();
// Engine: ends a command that hit a fatal error: SetErrorCode(code), then EndProgram.
[[noreturn]] void EndProgramWithError(double code);

// Engine: the five lines of the end-of-program block, as written to the log in debug mode.
void WriteEndOfProgramBlock();
