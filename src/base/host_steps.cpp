#include "base/host_steps.h"

namespace {

HostSteps& HandedDownSteps() {
  static HostSteps steps;
  return steps;
}

void Run(void (*step)()) {
  if (step != nullptr) step();
}

}  // namespace

void SetHostSteps(const HostSteps& steps) { HandedDownSteps() = steps; }

void RunPresentFrame() { Run(HandedDownSteps().presentFrame); }
void RunIdleWait() { Run(HandedDownSteps().idleWait); }
void RunPumpMessages() { Run(HandedDownSteps().pumpMessages); }

void RunGameWindowChanged(SDL_Window* window) {
  if (HandedDownSteps().gameWindowChanged != nullptr) HandedDownSteps().gameWindowChanged(window);
}
