// The typed-key queue on its own: which presses and texts type what, in which order, and
// when keys nobody reads are dropped.

#include <gtest/gtest.h>

#include <string>

#include "input/scan_codes.h"
#include "input/typed_key_queue.h"

namespace {

// Everything waiting in the queue, taken in order.
std::string TakeAll(TypedKeyQueue& queue) {
  std::string taken;
  while (const int character = queue.Take()) taken.push_back(static_cast<char>(character));
  return taken;
}

TEST(TypedKeyQueueTest, TextTypesOneByteCharactersAndNothingElse) {
  struct Case {
    const char* text;
    bool shift;
    std::string typed;
  };
  const Case cases[] = {
      {"a", false, "a"},
      {"a", true, "A"},  // Caps Lock and Shift together: Shift still capitalises a..z
      {"!", true, "!"},
      {"\xC3\xA9", false, "\xE9"},       // e acute, as Latin-1
      {"\xC3\xA9", true, "\xE9"},        // only a..z are changed by Shift
      {"\xC2\xB4x", false, "\xB4x"},     // a dead key that did not combine gives both
      {"\xD0\xB9", false, ""},           // Cyrillic: beyond one byte
      {"\xE2\x82\xAC", false, ""},       // the euro sign
      {"\xF0\x9F\x98\x80z", false, "z"},  // an emoji, then a letter
      {"\t\x7F\x1B", false, ""},         // control characters and Delete
      {"\xC3", false, ""},               // a sequence cut short
      {"\xC3(", false, "("},             // a lead byte without its continuation
      {"\x80\xBFq", false, "q"},         // stray continuation bytes
      {"\xC1\x81", false, ""},           // an overlong A
  };
  for (const Case& c : cases) {
    TypedKeyQueue queue;
    queue.Text(c.text, c.shift);
    EXPECT_EQ(TakeAll(queue), c.typed) << c.text;
  }
}

TEST(TypedKeyQueueTest, PressesTypeInOrderAndAutoRepeatTypesNothing) {
  TypedKeyQueue queue;
  queue.KeyDown(key::kH, false);
  queue.Text("h", false);
  queue.KeyDown(key::kI, false);  // pressed while h is still held
  queue.Text("i", false);
  queue.KeyDown(key::kI, true);   // held: the repeats and their text do not type
  queue.Text("i", false);
  queue.KeyDown(key::kI, true);
  queue.Text("i", false);
  queue.KeyDown(key::kBackspace, false);
  queue.KeyDown(key::kBackspace, true);
  queue.KeyDown(key::kA, false);
  queue.Text("a", false);
  queue.KeyDown(key::kReturn, false);
  queue.KeyDown(key::kKeypadEnter, false);
  queue.KeyDown(key::kEscape, false);  // no character: its text never comes
  EXPECT_EQ(TakeAll(queue), "hi\ba\n\n");
  EXPECT_EQ(queue.Take(), 0);
}

TEST(TypedKeyQueueTest, KeysWaitWhileTheGameReadsAndAreDroppedWhenNobodyDoes) {
  TypedKeyQueue queue;
  // Read once per frame, five keys from one slow frame come out one a frame.
  queue.Text("abcde", false);
  std::string read;
  for (int frame = 0; frame < 10; ++frame) {
    queue.FrameBoundary();
    if (const int character = queue.Take()) read.push_back(static_cast<char>(character));
  }
  EXPECT_EQ(read, "abcde");

  // Unread, a key waits kUnreadFrameLimit frames, then is gone.
  queue.Text("x", false);
  for (std::uint64_t frame = 0; frame < TypedKeyQueue::kUnreadFrameLimit; ++frame) queue.FrameBoundary();
  EXPECT_EQ(queue.Size(), 1u);
  queue.FrameBoundary();
  EXPECT_EQ(queue.Size(), 0u);

  // A full queue takes no more.
  queue.Text(std::string(TypedKeyQueue::kCapacity, 'k') + "z", false);
  EXPECT_EQ(TakeAll(queue), std::string(TypedKeyQueue::kCapacity, 'k'));
}

}  // namespace
