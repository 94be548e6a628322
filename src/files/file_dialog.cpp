#include "files/file_dialog.h"

#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "base/engine_state.h"
#include "base/host_steps.h"
#include "files/disk_files.h"
#include "files/file_chooser.h"
#include "video/display_mode.h"
#include "video/renderer.h"

namespace {

constexpr const char* kNoFile = "NO_FILE";

// The directory open as a handle, so it can be made current again whatever happened to
// its path meanwhile; -1 when it cannot be opened (it was removed).
int OpenCurrentDirectory() { return open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

void ReturnToDirectory(int directory) {
  if (directory < 0) return;
  if (fchdir(directory) != 0) {
    // The directory is gone; there is nothing to go back to.
  }
  close(directory);
}

void RestoreDisplay(OpenGLDiveduva& renderer) {
  EngineState& engine = Engine();
  if (engine.fullscreen != 0) {
    EnterFullscreen(renderer);
  } else {
    EnterWindowed(renderer);
  }
  // Fullscreen gets a new window: everyone who keeps it is told.
  RunGameWindowChanged(renderer.window);
}

}  // namespace

BasicString FileDialog(double forOpening, const BasicString& filter) {
  ChooserRequest request;
  request.forOpening = forOpening != 0;
  request.filters = ParseChooserFilter(std::string(filter.View()));
  request.startFolder = CurrentDirectoryPath();

  const int startDirectory = OpenCurrentDirectory();
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer != nullptr) SuspendDisplay(*renderer);
  const std::string chosen = RunDesktopChooser(request);
  ReturnToDirectory(startDirectory);
  if (renderer != nullptr) RestoreDisplay(*renderer);

  if (chosen.empty()) return kNoFile;
  BasicString path(chosen);
  SlashPath(path);
  return path;
}
