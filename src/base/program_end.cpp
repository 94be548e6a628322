#include "base/program_end.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/engine_state.h"
#include "base/error_log.h"

namespace {

// Doubles become 32-bit integers by truncation toward zero; values outside the range
// (and NaN) become INT32_MIN, as the platform's conversion does.
int TruncateToInt32(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

void LogNumber(double value) {
  char line[16];
  std::snprintf(line, sizeof line, "%d", TruncateToInt32(value));
  LogError(line);
}

}  // namespace

double SetErrorCode(double code) {
  EngineState& engine = Engine();
  engine.errorCode = code;
  engine.errorLine = engine.currentLine;
  return code;
}

void SetSourcePosition(double tag, double line) {
  Engine().positionTag = tag;
  Engine().currentLine = line;
}

void WriteEndOfProgramBlock() {
  const EngineState& engine = Engine();
  LogError("-End On Line");
  LogNumber(engine.errorCode);
  LogNumber(engine.errorLine - 1);
  LogNumber(engine.currentLine);
  LogNumber(engine.positionTag);
}

void EndProgram() {
  ShutdownEngine();
  if (Engine().debugMode != 0) WriteEndOfProgramBlock();
  std::fflush(nullptr);
  std::exit(0);
}

void EndProgramWithError(double code) {
  SetErrorCode(code);
  EndProgram();
}
