#include "input/typed_key_queue.h"

#include "input/scan_codes.h"
#include "input/typed_characters.h"

namespace {

constexpr int kFirstPrintable = 32;
constexpr int kDeleteChar = 127;
constexpr int kLargestByte = 255;
// A code point that is not one byte, or bytes that are no code point.
constexpr std::uint32_t kNotOneByte = 0x110000;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point starting at text[position]; position moves past it. A lead byte whose
// continuation bytes are missing or wrong moves on by one byte and gives kNotOneByte, so
// the next byte is read afresh.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& position) {
  const auto lead = static_cast<unsigned char>(text[position]);
  if (lead < 0x80) {
    ++position;
    return lead;
  }
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (length == 0 || position + length > text.size()) {
    ++position;
    return kNotOneByte;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[position + i]))) {
      ++position;
      return kNotOneByte;
    }
  }
  const auto second = static_cast<unsigned char>(text[position + 1]);
  position += length;
  // Only two-byte sequences reach past 127 and stay within one byte (lead 0xC2, 0xC3).
  if (length != 2) return kNotOneByte;
  return ((lead & 0x1Fu) << 6) | (second & 0x3Fu);
}

}  // namespace

void TypedKeyQueue::KeyDown(int scanCode, bool repeat) {
  repeating_ = repeat;
  if (repeat) return;
  switch (scanCode) {
    case key::kBackspace:
      Push(kBackspaceChar);
      break;
    case key::kReturn:
    case key::kKeypadEnter:
      Push(kLineFeedChar);
      break;
    default:
      break;
  }
}

void TypedKeyQueue::Text(std::string_view utf8, bool shiftHeld) {
  if (repeating_) return;
  std::size_t position = 0;
  while (position < utf8.size()) {
    const std::uint32_t codePoint = NextCodePoint(utf8, position);
    if (codePoint < kFirstPrintable || codePoint == kDeleteChar || codePoint > kLargestByte) continue;
    int character = static_cast<int>(codePoint);
    if (shiftHeld && character >= 'a' && character <= 'z') character -= 'a' - 'A';
    Push(character);
  }
}

void TypedKeyQueue::Push(int character) {
  if (entries_.size() >= kCapacity) return;
  entries_.push_back(Entry{static_cast<std::uint8_t>(character), frame_, reads_});
}

int TypedKeyQueue::Take() {
  ++reads_;
  if (entries_.empty()) return 0;
  const int character = entries_.front().character;
  entries_.pop_front();
  return character;
}

void TypedKeyQueue::FrameBoundary() {
  ++frame_;
  // Keys are in the order typed, so the scan stops at the first one kept: a read made
  // after the oldest key arrived shows that the game is reading, and everything queued
  // waits for it; a recent oldest key has only more recent ones behind it.
  while (!entries_.empty()) {
    const Entry& oldest = entries_.front();
    if (oldest.readsBefore != reads_ || frame_ - oldest.frame <= kUnreadFrameLimit) break;
    entries_.pop_front();
  }
}
