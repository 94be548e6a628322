#pragma once
// Builds resource archives byte by byte for the archive tests, independently of the
// vtlpack tool, including damaged ones; and a fixture with a scratch folder, a private
// temporary directory and one archive slot.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "files/archive.h"
#include "support/scratch_directory.h"

// Unpacked size then an LZO1X-1 stream of data.
std::string PackedMember(const std::string& data);

struct RawEntry {
  std::string name;
  std::int32_t offset;
  std::uint32_t packedSize;
};
// Directory entries followed by the terminating zero byte.
std::string DirectoryBytes(const std::vector<RawEntry>& entries);
// "vtL" and the directory offset.
std::string TrailerBytes(std::int32_t directoryOffset);
std::string LittleEndian32(std::uint32_t value);

struct TestMember {
  std::string name;
  std::string data;
};
// A stand-alone archive (absolute offsets).
std::string StandAloneArchive(const std::vector<TestMember>& members);
// prefix followed by an appended archive (offsets negative from the end).
std::string AppendedArchive(const std::string& prefix, const std::vector<TestMember>& members);

// Compressible test data that looks a little like picture rows.
std::string PictureLikeData(std::size_t size, unsigned seed = 1);

class ArchiveLookupTest : public ::testing::Test {
 protected:
  ArchiveLookupTest();

  // Writes contents to a file in the scratch folder; returns its full path.
  std::string WriteScratchFile(const std::string& name, const std::string& contents);
  std::string Read(const std::string& path) const;
  bool FileExists(const std::string& path) const;
  // Selects the scratch file name as the slot's archive.
  void SelectScratchArchive(const std::string& name, const std::string& contents);
  // ResolveResourceFileIn through slot with temporaries in temporaryDirectory; the
  // result buffer starts filled with the marker "untouched".
  int Resolve(const std::string& request);
  // Names of the files in temporaryDirectory.
  std::vector<std::string> TemporaryFiles() const;

  ScratchDirectory scratch;
  std::string temporaryDirectory;
  ArchiveSlot slot;
  char result[kArchivePathCapacity];
};
