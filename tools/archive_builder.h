#pragma once
// Building resource archives: packing members with LZO1X and laying out the directory
// and trailer, for a stand-alone archive or for one appended to another file.

#include <cstdint>
#include <string>
#include <vector>

struct ArchiveInput {
  std::string name;                 // the member name stored in the directory
  std::vector<unsigned char> data;  // the member's unpacked bytes
};

// The member data as stored: the unpacked size, then the data compressed with LZO1X's
// best (slowest) compressor. Empty when liblzo2 fails or the data is too large.
std::vector<unsigned char> PackMemberData(const std::vector<unsigned char>& data);

// The bytes of an archive of members. Stand-alone (appended = false): offsets count
// from the start of the returned bytes. Appended: the bytes go at the end of an existing
// file and every offset counts back from the end of the combined file, so the archive
// stays valid whatever sits in front of it. Returns false with a message in error when
// a name is unusable or the archive would outgrow the 32-bit offsets.
bool BuildArchive(const std::vector<ArchiveInput>& members, bool appended, std::vector<unsigned char>& archive,
                  std::string& error);
