#pragma once
// The resource archive: the two archive selections and the lookup every loader calls
// before it opens a file.
//
// A plain file on disk always wins. Otherwise the member of the selected archive with
// the same base name (ASCII case ignored) is unpacked into a temporary file in the
// engine's private temporary directory, and the loader opens that file instead.
//
// LIFETIME OF A RESOLVED FILE: the temporary file lives only until the next lookup
// through the same slot, the next SelectArchive, or the end of the program. A loader
// must finish reading one resolved file before it resolves another name.

#include <cstdint>
#include <string>

#include "core/basic_string.h"

// Size of the path fields, terminator included. Longer paths are refused.
inline constexpr std::size_t kArchivePathCapacity = 260;

// One archive selection.
struct ArchiveSlot {
  std::uint8_t enabled = 1;                   // cleared when the archive proves unusable
  char archivePath[kArchivePathCapacity] = {};  // as passed to SelectArchive; "" = none
  char lastExtracted[kArchivePathCapacity] = {};  // temporary file of the last extraction
};

// Command: selects the archive of the primary slot (the one loaders use) and of the
// secondary slot. Deletes each slot's previous temporary file and re-enables it. Nothing
// is opened here; a wrong name shows only at the next lookup that reaches the archive.
void SelectArchive(const BasicString& primary, const BasicString& secondary);

// The same for one slot. A path that does not fit the field is stored as "" (which
// disables the slot at its next lookup rather than opening a truncated name).
void SelectArchiveSlot(ArchiveSlot& slot, const char* archivePath);

// Looks up request (see the top of this file). result must hold at least
// kArchivePathCapacity bytes and may be the same buffer as request. Returns 1 with the
// path to open in result, or 0 when the file is not available (result is then "" or
// unchanged). Temporary files go to EngineTempDirectory().
int ResolveResourceFile(ArchiveSlot& slot, const char* request, char* result);

// The same, with temporary files written to temporaryDirectory (ending in '/').
int ResolveResourceFileIn(ArchiveSlot& slot, const char* request, char* result,
                          const std::string& temporaryDirectory);

// The lookup for loaders: resolves fileName through the primary slot and puts the path
// to open into pathToOpen. Without a primary slot (the engine not started, as in unit
// tests) it is a lookup with no archive: true only when fileName exists as a plain file.
// On false, pathToOpen is empty.
bool ResolveLoaderPath(const char* fileName, std::string& pathToOpen);

// Start-up: creates both slots (enabled, paths empty) and selects folder in both.
void CreateArchiveSlots(const char* folder);
// Shutdown: secondary, then primary: deletes the slot's temporary file and frees it.
void ReleaseArchiveSlots();
