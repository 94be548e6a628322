#include "host/host_steps.h"

#include "base/engine_state.h"
#include "base/host_steps.h"
#include "host/frame_present.h"
#include "host/idle_wait.h"
#include "host/message_pump.h"
#include "host/window_change.h"

namespace {

void IdleWaitStep() { IdleWait(); }

void PumpEngineMessages() {
  if (OpenGLDiveduva* renderer = Subsystems().renderer) PumpMessages(*renderer);
}

}  // namespace

void HandHostStepsDown() {
  HostSteps steps;
  steps.presentFrame = &PresentFrame;
  steps.idleWait = &IdleWaitStep;
  steps.pumpMessages = &PumpEngineMessages;
  steps.gameWindowChanged = &GameWindowChanged;
  SetHostSteps(steps);
}
