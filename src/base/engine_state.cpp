#include "base/engine_state.h"

EngineState& Engine() {
  static EngineState state;
  return state;
}

EngineSubsystems& Subsystems() {
  static EngineSubsystems subsystems;
  return subsystems;
}
