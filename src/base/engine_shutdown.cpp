#include "base/engine_shutdown.h"

#include <array>
#include <cstddef>

#include "base/engine_state.h"

namespace {

std::array<void (*)(), static_cast<std::size_t>(ReleaseStep::kCount)>& ReleaseSteps() {
  static std::array<void (*)(), static_cast<std::size_t>(ReleaseStep::kCount)> steps{};
  return steps;
}

}  // namespace

void SetReleaseStep(ReleaseStep step, void (*release)()) { ReleaseSteps()[static_cast<std::size_t>(step)] = release; }

void ShutdownEngine() {
  // The game's files go first, before any teardown below could fail and lose them; the
  // renderer goes first among the subsystem objects; the archive slots go after the
  // network session and before the main window.
  for (void (*release)() : ReleaseSteps()) {
    if (release != nullptr) release();
  }
  Engine().mainWindow = nullptr;
}
