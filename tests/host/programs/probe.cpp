#include "host/game_interface.h"
#include "probe_actions.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.debugMode = 0;
  settings.title = "Probe";
  return settings;
}

int GameMain() { return RunProbe(); }
