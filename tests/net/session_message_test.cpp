// The session's datagram format: what counts as a message, and what the engine writes.

#include <gtest/gtest.h>

#include <string>

#include "net/session_message.h"
#include "wire_bytes.h"

namespace {

bool Decode(const std::string& datagram, SessionMessage& message) {
  return DecodeDatagram(reinterpret_cast<const unsigned char*>(datagram.data()), datagram.size(), message);
}

std::string WireOf(const SessionMessage& message) {
  return std::string(reinterpret_cast<const char*>(message.bytes.data()), message.WireSize());
}

TEST(SessionMessage, AWellFormedDatagramDecodesWithAZeroAfterItsPayload) {
  SessionMessage message;
  ASSERT_TRUE(Decode(TrvnDatagram(3, 105, 101, "hello"), message));
  EXPECT_EQ(message.Type(), 3);
  EXPECT_EQ(message.PayloadLength(), 5);
  EXPECT_EQ(message.To(), 105);
  EXPECT_EQ(message.From(), 101);
  EXPECT_STREQ(message.PayloadText(), "hello");
}

TEST(SessionMessage, DatagramsThatAreNotMessagesAreRejected) {
  SessionMessage message;
  EXPECT_FALSE(Decode("", message));
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2).substr(0, 16), message)) << "shorter than the header";
  EXPECT_FALSE(Decode("TRVX" + TrvnDatagram(3, 1, 2).substr(4), message)) << "wrong magic";
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2, "abc", -1), message)) << "negative length";
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2, "abc", 2049), message)) << "length above 2048";
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2, "abc", 4), message)) << "claims more than arrived";
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2, "abc", 2), message)) << "claims less than arrived";
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2, std::string(2049, 'x'), 2048), message)) << "oversized datagram";
  EXPECT_FALSE(Decode(TrvnDatagram(3, 1, 2, "abc", INT32_MIN), message));
}

TEST(SessionMessage, ALargestPayloadIsAcceptedAndStillTerminated) {
  SessionMessage message;
  ASSERT_TRUE(Decode(TrvnDatagram(3, 1, 2, std::string(2048, 'z')), message));
  EXPECT_EQ(std::string(message.PayloadText()), std::string(2048, 'z'));
}

TEST(SessionMessage, PayloadBytesAStatedShortPayloadLacksReadAsZero) {
  SessionMessage message;
  // A previous message must not shine through a shorter one decoded into the same node.
  ASSERT_TRUE(Decode(TrvnDatagram(102, 0, 101, LittleEndian32(0x7f7f7f7f)), message));
  ASSERT_TRUE(Decode(TrvnDatagram(102, 0, 101, "\x05"), message));
  EXPECT_EQ(message.PayloadInt32(0), 5);
  ASSERT_TRUE(Decode(TrvnDatagram(102, 0, 101), message));
  EXPECT_EQ(message.PayloadInt32(0), 0);
}

TEST(SessionMessage, TheEngineWritesHeadersAndInt32PayloadsLittleEndian) {
  EXPECT_EQ(WireOf(MakeSessionMessage(kPlayerLeaves, 0, 101)), TrvnDatagram(4, 0, 101));
  EXPECT_EQ(WireOf(MakeSessionMessage(kDataMessage, -1, 7, "hi", 2)), TrvnDatagram(3, -1, 7, "hi"));
  EXPECT_EQ(WireOf(MakeInt32Message(kPlayerIdRequest, 0, 101, 0x01020304)),
            TrvnDatagram(102, 0, 101, std::string("\x04\x03\x02\x01", 4)));
}

TEST(SessionMessage, RegistrationPayloadIsTheEntryImage) {
  EXPECT_EQ(WireOf(MakeRegistration("Ann", 0)), TrvnDatagram(1, 0, 0, RegistrationPayload("Ann", 0)));
  EXPECT_EQ(WireOf(MakeRegistration("", 1)), TrvnDatagram(1, 0, 0, RegistrationPayload("", 1)));
  const std::string longName(300, 'n');
  EXPECT_EQ(WireOf(MakeRegistration(longName, 0)), TrvnDatagram(1, 0, 0, RegistrationPayload(longName, 0)))
      << "names are cut at 127 characters";
}

TEST(SessionMessage, ReceivedRegistrationNamesAreAlwaysTerminated) {
  SessionMessage message;
  std::string payload = RegistrationPayload("", 0);
  for (std::size_t i = 9; i < payload.size(); ++i) payload[i] = 'A';  // no zero anywhere in the name
  ASSERT_TRUE(Decode(TrvnDatagram(1, 0, 0, payload), message));
  const Registration registration = DecodeRegistration(message);
  EXPECT_EQ(std::string(registration.name.data()), std::string(127, 'A'));

  ASSERT_TRUE(Decode(TrvnDatagram(1, 0, 0, std::string("\xff\xff\xff\xff\xff\xff\xff\xff\x01" "Bo", 11)), message));
  const Registration shortOne = DecodeRegistration(message);
  EXPECT_EQ(shortOne.hidden, 1);
  EXPECT_EQ(std::string(shortOne.name.data()), "Bo") << "the missing bytes read as zero";
}

}  // namespace
