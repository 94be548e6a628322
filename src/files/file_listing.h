#pragma once
// Listing the current directory with a wildcard pattern.

#include <string>
#include <string_view>
#include <vector>

#include "core/basic_string.h"

struct StringArray;

// One listing: every directory (whatever the pattern, "." and ".." included), then the
// other entries whose names match the pattern; each group in the order the platform
// delivers the entries.
struct DirectoryListing {
  std::vector<std::string> directories;
  std::vector<std::string> files;
};

// Lists the directory at path with the file pattern of MatchWildcard. A directory that
// cannot be read gives an empty listing.
DirectoryListing ListDirectory(const char* path, std::string_view pattern);

// The listing's count as the file listing command reports it: files + 65536 x directories.
double ListingCount(const DirectoryListing& listing);

// Lists the current directory into list (dimensioned to exactly directories + files
// entries, directories first) and returns files + 65536 x directories.
double GetFileList(const BasicString& pattern, StringArray& list);
