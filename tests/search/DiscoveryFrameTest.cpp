#include "discovery/CDiscoveryFrame.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DiscoveryFrame, SerialRequestByteForByte) {
  Bytes expected{0xC0, 0x04, 0x05, 0x00, 0x01};
  expected.insert(expected.end(), 32, 0x00);
  expected.push_back(0xF6);
  expected.push_back(0xC0);
  EXPECT_EQ(BuildSerialDiscoveryFrame(), expected);
  const auto request = BuildDiscoveryRequest();
  EXPECT_EQ(request.size(), 36u);
  EXPECT_EQ(CheckByte(request), 0xF6);
}

TEST(DiscoveryFrame, SlipRoundTripEscapesEndAndEscape) {
  const Bytes data{0x01, 0xC0, 0x02, 0xDB, 0x03};
  const Bytes framed = SlipEncode(data);
  EXPECT_EQ(framed, (Bytes{0xC0, 0x01, 0xDB, 0xDC, 0x02, 0xDB, 0xDD, 0x03, 0xC0}));
  EXPECT_EQ(SlipDecode(framed), data);
}

struct DecodeRow { const char* name; Bytes input; Bytes output; };

TEST(DiscoveryFrame, DecodeTable) {
  const DecodeRow rows[] = {
      {"garbage before the frame is skipped", {0x11, 0x22, 0xC0, 0x05, 0xC0}, {0x05}},
      {"bytes after the closing end are dropped", {0xC0, 0x05, 0xC0, 0x06, 0x07}, {0x05}},
      {"no end byte at all", {0x05, 0x06}, {}},
      {"unterminated frame keeps what came", {0xC0, 0x05, 0x06}, {0x05, 0x06}},
      {"escape before the end is kept", {0xC0, 0x05, 0xDB, 0xC0}, {0x05, 0xDB}},
      {"unknown escape keeps its byte", {0xC0, 0xDB, 0x41, 0xC0}, {0x41}},
      {"empty frame", {0xC0, 0xC0}, {}},
  };
  for (const DecodeRow& r : rows) EXPECT_EQ(SlipDecode(r.input), r.output) << r.name;
}

TEST(DiscoveryFrame, ReplyTableFieldsAndBounds) {
  CReplyTable table;
  Bytes reply(100, 0);
  reply[0] = 0x00;
  reply[1] = 0x15;
  reply[72] = 0x05;  // 192.168.1.5 little-endian
  reply[73] = 0x01;
  reply[74] = 0xA8;
  reply[75] = 0xC0;
  table.Store(3, reply);
  EXPECT_EQ(table.Code(3), 0x0015);
  EXPECT_EQ(table.Address(3), 0xC0A80105u);
  table.Store(4, Bytes{0x12});  // three-byte and shorter replies are zero-filled
  EXPECT_EQ(table.Code(4), 0x1200);
  table.Store(255, reply);      // past the table: ignored
  Bytes big(300, 0xAB);
  table.Store(0, big);          // only the first 100 bytes are kept
  EXPECT_EQ(table.At(0)[99], 0xAB);
  EXPECT_EQ(table.Count(), 1u);   // record 1 has code 0: the table ends there
  table.Store(1, reply);
  table.Store(2, reply);
  EXPECT_EQ(table.Count(), 5u);
  table.Clear();
  EXPECT_EQ(table.Code(3), 0);
  EXPECT_EQ(table.Count(), 0u);
  for (std::size_t i = 0; i < kMaxReplies; ++i) table.Store(i, reply);
  EXPECT_EQ(table.Count(), kMaxReplies);
}

}  // namespace
}  // namespace corvane
