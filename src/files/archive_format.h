#pragma once
// The resource archive's file layout, shared by the engine's reader and the writer tool.
//
// Trailer, the last 7 bytes of the file: the magic "vtL", then the signed 32-bit
// directory offset D. D >= 0 counts from the start of the file; D < 0 counts from the end
// (an archive appended to another file, such as the game's executable), and then every
// member offset in the directory counts from the end as well.
//
// Directory entry: name length (1 byte, 1 to 255; 0 ends the directory), the name,
// the member offset (signed 32-bit), the packed size (unsigned 32-bit).
// Member data: the unpacked size (signed 32-bit), then one LZO1X stream.
// All integers are little-endian.

#include <cstddef>
#include <cstdint>

#include "core/byte_order.h"

inline constexpr char kArchiveMagic[3] = {'v', 't', 'L'};
inline constexpr std::size_t kArchiveMagicSize = 3;
inline constexpr std::size_t kArchiveTrailerSize = 7;
inline constexpr std::size_t kArchiveMaxNameLength = 255;
inline constexpr std::size_t kArchiveEntryFieldsSize = 8;   // offset + packed size
inline constexpr std::size_t kArchiveMemberHeaderSize = 4;  // unpacked size

// No LZO1X instruction produces more than 255 bytes of output per byte it occupies
// (a long match spends one byte per 255 of extra length), so a stream of n bytes never
// unpacks to more than 255 * n bytes. A larger stated size marks a damaged member.
inline constexpr std::uint64_t kLzo1xMaxExpansion = 255;

// Position from the start of the file of a stored offset: from the start when the
// directory offset is non-negative, from the end of the file when it is negative.
inline std::int64_t ArchivePosition(std::int64_t fileSize, std::int32_t directoryOffset,
                                    std::int32_t storedOffset) {
  return directoryOffset >= 0 ? storedOffset : fileSize + storedOffset;
}
