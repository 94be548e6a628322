#include "files/game_files.h"

#include "base/engine_shutdown.h"
#include "base/engine_state.h"

void GameFiles::WriteBackAndCloseAll() {
  for (FileChannel& channel : channels) channel.Close();
  lineFiles.WriteBackAndClear();
  settings.WriteBack();
}

GameFiles& ActiveGameFiles() {
  EngineSubsystems& subsystems = Subsystems();
  if (subsystems.gameFiles == nullptr) {
    subsystems.gameFiles = new GameFiles;
    SetReleaseStep(ReleaseStep::kGameFiles, &ReleaseGameFiles);
  }
  return *subsystems.gameFiles;
}

void ReleaseGameFiles() {
  EngineSubsystems& subsystems = Subsystems();
  if (subsystems.gameFiles == nullptr) return;
  subsystems.gameFiles->WriteBackAndCloseAll();
  delete subsystems.gameFiles;
  subsystems.gameFiles = nullptr;
}
