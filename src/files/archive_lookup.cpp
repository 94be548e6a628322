// The lookup every loader calls first, and the per-slot selection. Only the C library,
// liblzo2 and the temporary directory are needed here, so the lookup can be driven alone.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "base/temp_directory.h"
#include "files/archive.h"
#include "files/archive_directory.h"
#include "files/archive_member.h"

namespace {

void DeleteLastExtracted(ArchiveSlot& slot) {
  if (slot.lastExtracted[0] != '\0') unlink(slot.lastExtracted);
  slot.lastExtracted[0] = '\0';
}

// Copies text (which fits the field) into result; result may be text itself.
void SetResult(char* result, const char* text) {
  std::memmove(result, text, std::strlen(text) + 1);
}

// Whether path names something that opens for reading and is not a folder.
bool PlainFileExists(const char* path) {
  const int descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return false;
  struct stat info {};
  const bool isFile = fstat(descriptor, &info) == 0 && !S_ISDIR(info.st_mode);
  close(descriptor);
  return isFile;
}

}  // namespace

void SelectArchiveSlot(ArchiveSlot& slot, const char* archivePath) {
  slot.enabled = 1;
  DeleteLastExtracted(slot);
  const std::size_t length = archivePath ? std::strlen(archivePath) : 0;
  if (length >= kArchivePathCapacity) {
    slot.archivePath[0] = '\0';
    return;
  }
  std::memcpy(slot.archivePath, archivePath ? archivePath : "", length + 1);
}

int ResolveResourceFile(ArchiveSlot& slot, const char* request, char* result) {
  return ResolveResourceFileIn(slot, request, result, EngineTempDirectory());
}

int ResolveResourceFileIn(ArchiveSlot& slot, const char* request, char* result,
                          const std::string& temporaryDirectory) {
  DeleteLastExtracted(slot);

  const std::size_t requestLength = request ? std::strlen(request) : 0;
  if (requestLength == 0 || requestLength >= kArchivePathCapacity) {
    result[0] = '\0';
    return 0;
  }

  if (PlainFileExists(request)) {
    SetResult(result, request);
    return 1;
  }

  if (slot.enabled == 0) return 0;
  if (slot.archivePath[0] == '\0') {
    slot.enabled = 0;
    return 0;
  }

  ArchiveFile archive;
  if (!archive.Open(slot.archivePath)) {
    slot.enabled = 0;
    return 0;
  }

  const ArchiveTrailer trailer = ReadArchiveTrailer(archive);
  if (trailer.status == TrailerStatus::kShortRead) {
    result[0] = '\0';
    return 0;
  }
  if (trailer.status == TrailerStatus::kWrongMagic) {
    slot.enabled = 0;
    return 0;
  }

  ArchiveEntry entry;
  const std::string_view baseName = RequestBaseName(std::string_view(request, requestLength));
  if (FindArchiveMember(archive, trailer.directoryOffset, baseName, entry) != MemberSearch::kFound) {
    result[0] = '\0';
    return 0;
  }

  // A member whose data cannot be used at all counts as absent; a stream that merely
  // breaks off still gives the bytes decoded before the damage.
  UnpackedMember member;
  if (UnpackArchiveMember(archive, entry, member) != UnpackStatus::kUnpacked) {
    result[0] = '\0';
    return 0;
  }
  archive.Close();

  // The matched name equals the request's base name, so it holds no '/' or '\' and the
  // file always lands inside the temporary directory. Without a safe directory, or when
  // the path would not fit the result, the member cannot be handed out.
  const std::string path = TemporaryFileName(temporaryDirectory, entry.offset, entry.packedSize, entry.name);
  if (temporaryDirectory.empty() || path.size() >= kArchivePathCapacity) {
    result[0] = '\0';
    return 0;
  }
  // The lookup reports success even when the file cannot be written: the loader's own
  // open of the path then fails.
  WriteTemporaryFile(path, member.bytes.get(), member.length);
  std::memcpy(slot.lastExtracted, path.c_str(), path.size() + 1);
  SetResult(result, path.c_str());
  return 1;
}
