// Fuzzes the archive lookup: the input is the whole archive file. Each run resolves a
// few names through a slot selecting it, and also decodes the input as member data.

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/temp_directory.h"
#include "files/archive.h"
#include "files/archive_member.h"

namespace {

struct FuzzFolder {
  FuzzFolder() {
    // The system's temporary folder (TMPDIR when set).
    std::string pattern = (std::filesystem::temp_directory_path() / "archive-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root = pattern;
    temporary = PreparePrivateDirectory(root);
    if (temporary.empty()) std::abort();
    archive = root + "/input.vtl";
  }
  ~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string root, temporary, archive;
};

FuzzFolder& Folder() {
  static FuzzFolder folder;
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzFolder& folder = Folder();
  std::FILE* file = std::fopen(folder.archive.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);

  ArchiveSlot slot;
  SelectArchiveSlot(slot, folder.archive.c_str());
  char result[kArchivePathCapacity];
  for (const char* request : {"m.bmp", "dir/Vantrel_file.bmp", "a", "x\\..", "vt2.bmp"}) {
    if (ResolveResourceFileIn(slot, request, result, folder.temporary) == 1) {
      // Whatever the archive says, the file lands in the private folder.
      if (std::strncmp(result, folder.temporary.c_str(), folder.temporary.size()) != 0) std::abort();
      if (std::strchr(result + folder.temporary.size(), '/')) std::abort();
    }
  }
  SelectArchiveSlot(slot, "");
  if (slot.lastExtracted[0] != '\0') std::abort();

  UnpackedMember member;
  if (UnpackMemberData(data, size, member) == UnpackStatus::kUnpacked && size >= 4) {
    if (member.length > 255u * (size - 4)) std::abort();
  }
  return 0;
}
