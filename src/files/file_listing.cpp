#include "files/file_listing.h"

#include <cstdint>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "core/runtime_array.h"
#include "files/wildcard_match.h"

namespace {

constexpr double kDirectoryWeight = 65536;

// A link counts as what it points at, as a link to a directory carries the directory
// attribute elsewhere; a broken link is a file.
bool IsDirectoryEntry(DIR* directory, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
  struct stat info {};
  return fstatat(dirfd(directory), entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

DirectoryListing ListDirectory(const char* path, std::string_view pattern) {
  DirectoryListing listing;
  DIR* directory = opendir(path);
  if (directory == nullptr) return listing;
  while (const dirent* entry = readdir(directory)) {
    if (IsDirectoryEntry(directory, *entry)) {
      listing.directories.emplace_back(entry->d_name);
    } else if (MatchWildcard(pattern, entry->d_name)) {
      listing.files.emplace_back(entry->d_name);
    }
  }
  closedir(directory);
  return listing;
}

double ListingCount(const DirectoryListing& listing) {
  return static_cast<double>(listing.files.size()) +
         kDirectoryWeight * static_cast<double>(listing.directories.size());
}

double GetFileList(const BasicString& pattern, StringArray& list) {
  const DirectoryListing listing = ListDirectory(".", pattern.View());
  DimStringArray(list, static_cast<double>(listing.directories.size() + listing.files.size()));
  std::int32_t index = 0;
  for (const auto* group : {&listing.directories, &listing.files}) {
    for (const std::string& name : *group) ArrayElement(list, index++) = BasicString(name);
  }
  return ListingCount(listing);
}
