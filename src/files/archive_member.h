#pragma once
// Unpacking one archive member and writing it to its temporary file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "files/archive_directory.h"

struct UnpackedMember {
  std::unique_ptr<unsigned char[]> bytes;
  std::size_t length = 0;  // bytes the decoder produced (fewer than stated when damaged)
  bool complete = false;   // the stream decoded cleanly to exactly the stated size
};

enum class UnpackStatus {
  kUnpacked,        // bytes hold what the stream yielded, damaged or not
  kDamagedMember,   // the member's data cannot be used at all (see UnpackArchiveMember)
};

// Decodes the member data of one entry (unpacked size, then an LZO1X stream) with the
// bounds-safe decoder. Refused as damaged: data outside the file, a packed size below 4,
// a negative unpacked size or one larger than the stream could ever expand to. A stream
// that breaks off yields the bytes decoded before the damage.
UnpackStatus UnpackArchiveMember(const ArchiveFile& file, const ArchiveEntry& entry, UnpackedMember& member);

// Decodes memberData (packedSize bytes: unpacked size, then the stream) in memory. The
// output buffer grows as the stream really fills it, so a false stated size costs no
// more than twice what the stream produces (and never more than the stated size).
UnpackStatus UnpackMemberData(const unsigned char* memberData, std::size_t packedSize, UnpackedMember& member);

// The temporary file's name: directory, "vtl", a letter for the offset and one for the
// packed size (each 'A' + value as unsigned 32-bit modulo 26), the stored member name.
std::string TemporaryFileName(const std::string& directory, std::int32_t offset, std::uint32_t packedSize,
                              std::string_view memberName);

// Replaces whatever is at path by a new file of the given bytes. The file is created
// exclusively and never through a symbolic link, so a planted link or file is removed
// rather than followed. False when the file could not be created or written in full.
bool WriteTemporaryFile(const std::string& path, const unsigned char* bytes, std::size_t length);
