#pragma once
// The input of the session fuzzers: a sequence of datagrams, each written as
//   1 byte   selector (which socket it arrives on; the harness decides the meaning)
//   2 bytes  datagram length, little-endian (cut to what is left of the input)
//   n bytes  the datagram
// so one input plays a whole exchange.

#include <cstddef>
#include <cstdint>

struct FuzzDatagram {
  std::uint8_t selector = 0;
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
};

// Takes the next datagram off the input; false at its end.
inline bool NextFuzzDatagram(const std::uint8_t*& data, std::size_t& size, FuzzDatagram& datagram) {
  if (size < 3) return false;
  datagram.selector = data[0];
  std::size_t length = static_cast<std::size_t>(data[1] | (data[2] << 8));
  data += 3;
  size -= 3;
  if (length > size) length = size;
  datagram.bytes = data;
  datagram.size = length;
  data += length;
  size -= length;
  return true;
}
