#include "base/program_end.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "base/error_log.h"
#include "base/number_truncation.h"

namespace {

void LogNumber(double value) {
  char line[16];
  std::snprintf(line, sizeof line, "%d", static_cast<int>(TruncateToInt32(value)));
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
