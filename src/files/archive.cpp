// The archive command and the engine's two archive slots.

#include "files/archive.h"

#include <unistd.h>

#include "base/engine_shutdown.h"
#include "base/engine_state.h"

void SelectArchive(const BasicString& primary, const BasicString& secondary) {
  EngineSubsystems& subsystems = Subsystems();
  if (subsystems.primaryArchive) SelectArchiveSlot(*subsystems.primaryArchive, primary.TextPointer());
  if (subsystems.secondaryArchive) SelectArchiveSlot(*subsystems.secondaryArchive, secondary.TextPointer());
}

bool ResolveLoaderPath(const char* fileName, std::string& pathToOpen) {
  char result[kArchivePathCapacity];
  ArchiveSlot noArchive;
  noArchive.enabled = 0;
  ArchiveSlot* slot = Subsystems().primaryArchive;
  const int found = ResolveResourceFile(slot ? *slot : noArchive, fileName ? fileName : "", result);
  pathToOpen = found ? result : "";
  return found != 0;
}

void CreateArchiveSlots(const char* folder) {
  EngineSubsystems& subsystems = Subsystems();
  if (!subsystems.primaryArchive) subsystems.primaryArchive = new ArchiveSlot;
  if (!subsystems.secondaryArchive) subsystems.secondaryArchive = new ArchiveSlot;
  SetReleaseStep(ReleaseStep::kArchives, &ReleaseArchiveSlots);
  SelectArchive(folder, folder);
}

namespace {

void ReleaseArchiveSlot(ArchiveSlot*& slot) {
  if (!slot) return;
  slot->enabled = 1;
  if (slot->lastExtracted[0] != '\0') unlink(slot->lastExtracted);
  delete slot;
  slot = nullptr;
}

}  // namespace

void ReleaseArchiveSlots() {
  EngineSubsystems& subsystems = Subsystems();
  ReleaseArchiveSlot(subsystems.secondaryArchive);
  ReleaseArchiveSlot(subsystems.primaryArchive);
}
