#include "libs/portlink/ModbusFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/Framing.h"
#include "libs/portlink/PorthubFrame.h"
#include "tests/comm/PeerHelpers.h"
#include "tests/comm/RtuPayloads.h"

using namespace corvane;
namespace mb = corvane::modbus;
using commtest::Bytes;
using commtest::Concat;
using commtest::Text;
using commtest::WithCrc;


TEST(ModbusEncode, RtuMatchesPublishedFrames) {
  const std::uint8_t read10[] = {0x00, 0x00, 0x00, 0x0A};
  EXPECT_EQ(mb::EncodeRtu(1, 3, read10, 4), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
  const std::uint8_t read3[] = {0x00, 0x6B, 0x00, 0x03};
  EXPECT_EQ(mb::EncodeRtu(0x11, 3, read3, 4), (Bytes{0x11, 0x03, 0x00, 0x6B, 0x00, 0x03, 0x76, 0x87}));
}

TEST(ModbusEncode, AsciiHasColonHexLrcCrLf) {
  const std::uint8_t read3[] = {0x00, 0x6B, 0x00, 0x03};
  EXPECT_EQ(mb::EncodeAscii(0x11, 3, read3, 4), Text(":1103006B00037E\r\n"));
  const std::uint8_t identity[] = {0x00, 0x12, 0x00, 0x02};
  EXPECT_EQ(mb::EncodeAscii(0x01, 0x67, identity, 4), Text(":01670012000284\r\n"));
}

TEST(ModbusEncode, TcpCarriesMbapHeader) {
  const std::uint8_t data[] = {0x15, 0x6A, 0x00, 0x08};
  EXPECT_EQ(mb::EncodeTcp(0x1234, 7, 3, data, 4), (Bytes{0x12, 0x34, 0, 0, 0, 6, 7, 3, 0x15, 0x6A, 0, 8}));
}

TEST(ModbusEncode, RefusesOversizedPdu) {
  const Bytes big(253, 0);
  EXPECT_TRUE(mb::EncodeRtu(1, 3, big.data(), big.size()).empty());
  EXPECT_TRUE(mb::EncodeAscii(1, 3, big.data(), big.size()).empty());
  EXPECT_TRUE(mb::EncodeTcp(1, 1, 3, big.data(), big.size()).empty());
  EXPECT_EQ(mb::EncodeRtu(1, 3, big.data(), 252).size(), 256u);
}

TEST(ModbusEncode, LrcIsTwosComplementOfSum) {
  const std::uint8_t b[] = {0x11, 0x03, 0x00, 0x6B, 0x00, 0x03};
  EXPECT_EQ(mb::Lrc(b, sizeof b), 0x7E);
  EXPECT_EQ(mb::Lrc(b, 0), 0x00);
}

struct RtuRow {
  const char* name;
  Bytes received;
  bool final;
  int expected;
  Bytes data;
};

TEST(ModbusDecode, RtuReplies) {
  const Bytes good = WithCrc({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x15});
  Bytes badCrc = good;
  badCrc.back() ^= 0xFF;
  Bytes garbage{0xFF, 0x00, 0x42};
  garbage.insert(garbage.end(), good.begin(), good.end());
  const RtuRow rows[] = {
      {"good", good, false, 4, {0x00, 0x01, 0x00, 0x15}},
      // Bytes before the frame are searched past only after a failed check. Here the first
      // candidate announces 71 bytes: it never completes, and an incomplete frame is not searched
      // (its data may hold a CRC-valid window), as libmodbus does not.
      {"garbage announcing a long frame before it", garbage, true, mb::kTruncated, {}},
      {"garbage announcing a long frame, still arriving", garbage, false, mb::kIncomplete, {}},
      {"garbage that fails its check before the frame", Concat({{0x01, 0x83, 0x02, 0x00, 0x00}, good}), false, 4,
       {0x00, 0x01, 0x00, 0x15}},
      {"bad crc", badCrc, true, mb::kChecksum, {}},
      {"bad crc, still arriving", badCrc, false, mb::kIncomplete, {}},
      {"wrong station", WithCrc({0x02, 0x03, 0x02, 0x00, 0x01}), false, mb::kStation, {}},
      {"wrong function", WithCrc({0x01, 0x04, 0x02, 0x00, 0x01}), false, mb::kFunction, {}},
      {"exception", WithCrc({0x01, 0x83, 0x02}), false, mb::kException, {}},
      {"truncated at silence", Bytes(good.begin(), good.end() - 3), true, mb::kTruncated, {}},
      {"nothing", {}, true, mb::kTimeout, {}},
      {"empty byte count", WithCrc({0x01, 0x03, 0x00}), false, 0, {}},
      {"write echo", WithCrc({0x01, 0x06, 0x00, 0x10, 0x12, 0x34}), false, mb::kFunction, {}},
  };
  for (const RtuRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint8_t out[256] = {};
    const int r = mb::DecodeRtuReply(row.received.data(), row.received.size(), 1, 3, out, sizeof out, row.final);
    EXPECT_EQ(r, row.expected);
    if (r > 0) { EXPECT_EQ(Bytes(out, out + r), row.data); }
  }
}

// Fed as a line delivers it: the frame is taken when its announced length is there, never a
// CRC-valid window inside its data before.
TEST(ModbusDecode, RtuReplyInPiecesIsTakenOnlyWhenComplete) {
  for (const commtest::RtuPayload& p : commtest::TrickyRtuPayloads()) {
    for (const auto& split : commtest::RtuSplits()) {
      SCOPED_TRACE(p.name + ", pieces of " + std::to_string(split[0]));
      const mb::Expect expect{p.station, 3, 0, {}};
      const Bytes clean(p.frame.size(), 0);
      std::size_t n = 0, from = 0, piece = 0;
      mb::Scan s;
      while (n < p.frame.size()) {
        const std::size_t size = split[piece++ % split.size()];
        n = size == 0 ? p.frame.size() : std::min(p.frame.size(), n + size);
        s = mb::kRtuFraming.scan(p.frame.data(), clean.data(), n, from, expect, false);
        if (n < p.frame.size()) {
          ASSERT_EQ(s.state, mb::Scan::kMore) << "taken after " << n << " bytes";
          from = s.settled;
        }
      }
      ASSERT_EQ(s.state, mb::Scan::kFrame);
      EXPECT_EQ(s.offset, 0u);
      std::uint8_t out[256] = {};
      mb::ReplyInfo info;
      ASSERT_EQ(mb::OpenReply(mb::kRtuFraming, p.frame.data(), s.length, expect, out, sizeof out, &info),
                static_cast<int>(p.data.size()));
      EXPECT_EQ(Bytes(out, out + p.data.size()), p.data);
      EXPECT_EQ(info.function, 3);
    }
  }
}

struct LengthRow {
  const char* name;
  Bytes pdu;
  std::size_t expected;  // above pdu.size(): more must come; 0: impossible
};

TEST(ModbusDecode, ReplyLengthFromTheFirstBytes) {
  const LengthRow rows[] = {
      {"nothing yet", {}, 2},
      {"exception", {0x83}, 2},
      {"read, count unknown", {0x03}, 2},
      {"read of 125 registers", {0x03, 250}, 252},
      {"coils", {0x01, 0x02}, 4},
      {"count beyond any frame", {0x04, 252}, 0},
      {"write single", {0x06}, 5},
      {"write multiple coils", {0x0F}, 5},
      {"FIFO, 16-bit count", {0x18, 0x00, 0x06}, 9},
      {"device id, header missing", {0x2B, 0x0E, 0x01}, 7},
      {"device id, two objects", {0x2B, 0x0E, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x03, 'Z', 'e', 'l', 0x01, 0x02}, 16},
      {"device id, other MEI type", {0x2B, 0x0D}, 0},
  };
  for (const LengthRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(mb::PduReplyLength(row.pdu.data(), row.pdu.size()), row.expected);
  }
}

TEST(ModbusDecode, ExceptionCodeIsKeptAndNamed) {
  std::uint8_t out[8] = {};
  int code = 0;
  const std::uint8_t busy[] = {0x83, 0x06};
  EXPECT_EQ(mb::DecodePdu(busy, sizeof busy, 3, out, sizeof out, &code), mb::kException);
  EXPECT_EQ(code, 6);
  EXPECT_STREQ(mb::ExceptionName(code), "server device busy");
  EXPECT_STREQ(mb::ExceptionName(2), "illegal data address");
  EXPECT_STREQ(mb::ExceptionName(0x42), "");
}

TEST(ModbusDecode, PduByteCountMustFitFrameAndBuffer) {
  std::uint8_t out[8] = {};
  const std::uint8_t tooLong[] = {0x03, 0x02, 0xAA, 0xBB, 0xCC};  // count 2, three bytes follow
  EXPECT_EQ(mb::DecodePdu(tooLong, sizeof tooLong, 3, out, sizeof out), mb::kByteCount);
  const std::uint8_t tooShort[] = {0x03, 0x04, 0xAA};
  EXPECT_EQ(mb::DecodePdu(tooShort, sizeof tooShort, 3, out, sizeof out), mb::kTruncated);
  std::uint8_t big[2 + 10] = {0x03, 10};
  EXPECT_EQ(mb::DecodePdu(big, sizeof big, 3, out, sizeof out), mb::kByteCount);  // 10 > buffer of 8
  const std::uint8_t echo[] = {0x06, 0x00, 0x10, 0x12, 0x34};
  EXPECT_EQ(mb::DecodePdu(echo, sizeof echo, 6, out, sizeof out), 4);
  const std::uint8_t badException[] = {0x83, 0x02, 0x00};
  EXPECT_EQ(mb::DecodePdu(badException, sizeof badException, 3, out, sizeof out), mb::kByteCount);
}

struct AsciiRow {
  const char* name;
  std::string received;
  bool final;
  int expected;
};

TEST(ModbusDecode, AsciiReplies) {
  // 01 03 04 00 01 00 15, LRC = -(0x1E) = 0xE2
  const AsciiRow rows[] = {
      {"good", ":01030400010015E2\r\n", false, 4},
      {"lower-case hex", ":01030400010015e2\r\n", false, 4},
      {"garbage before", "\x07zz:12:01030400010015E2\r\n", false, 4},
      // A line that fails its check is noise: a good frame may still follow it.
      {"bad lrc", ":01030400010015E3\r\n", true, mb::kChecksum},
      {"bad lrc, more may come", ":01030400010015E3\r\n", false, mb::kIncomplete},
      {"not hex", ":0103040001001GE2\r\n", true, mb::kChecksum},
      {"odd length", ":01030400010015E\r\n", true, mb::kChecksum},
      {"no CR", ":01030400010015E2\n", true, mb::kChecksum},
      {"noise line with a colon, then the frame", ":0103:zz\r\n:01030400010015E2\r\n", false, 4},
      {"frame with a bad LRC, then a good one", ":01030400010015E3\r\n:01030400010015E2\r\n", false, 4},
      {"wrong station", ":02030400010015E1\r\n", false, mb::kStation},
      {"exception", ":0183027A\r\n", false, mb::kException},
      {"still arriving", ":0103040001", false, mb::kIncomplete},
      {"cut off", ":0103040001", true, mb::kTruncated},
      {"nothing", "", true, mb::kTimeout},
  };
  for (const AsciiRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint8_t out[256] = {};
    const Bytes in = Text(row.received);
    const int r = mb::DecodeAsciiReply(in.data(), in.size(), 1, 3, out, sizeof out, row.final);
    EXPECT_EQ(r, row.expected);
    if (r > 0) { EXPECT_EQ(Bytes(out, out + r), (Bytes{0x00, 0x01, 0x00, 0x15})); }
  }
}

TEST(ModbusDecode, MbapHeader) {
  const std::uint8_t good[] = {0x00, 0x05, 0, 0, 0x00, 0x07, 1};
  EXPECT_EQ(mb::MbapPduLength(good), 6);
  EXPECT_TRUE(mb::MbapMatches(good, 5));
  EXPECT_FALSE(mb::MbapMatches(good, 6));
  const std::uint8_t protocol[] = {0x00, 0x05, 0, 1, 0x00, 0x07, 1};
  EXPECT_FALSE(mb::MbapMatches(protocol, 5));
  const std::uint8_t huge[] = {0x00, 0x05, 0, 0, 0x01, 0x00, 1};
  EXPECT_EQ(mb::MbapPduLength(huge), mb::kByteCount);
  const std::uint8_t tiny[] = {0x00, 0x05, 0, 0, 0x00, 0x01, 1};
  EXPECT_EQ(mb::MbapPduLength(tiny), mb::kByteCount);
}

TEST(PorthubFrame, RoundTripAndChecks) {
  const std::uint8_t payload[] = {4, 5, 0, 1};
  const porthub::Header h{257, 12, 0xC0A80105, 20006, 4};
  const Bytes f = porthub::Encode(h, payload);
  EXPECT_EQ(Bytes(f.begin(), f.begin() + 16),
            (Bytes{0x50, 0x48, 0x01, 0x01, 0, 0, 0, 12, 0xC0, 0xA8, 0x01, 0x05, 0x4E, 0x26, 0, 4}));
  porthub::Header back;
  ASSERT_TRUE(porthub::Decode(f.data(), back));
  EXPECT_EQ(back.driverId, 12);
  EXPECT_EQ(back.address, 0xC0A80105u);
  EXPECT_EQ(back.length, 4);
  Bytes bad = f;
  bad[0] = 0;
  EXPECT_FALSE(porthub::Decode(bad.data(), back));
  bad = f;
  bad[14] = 0x04;  // 1028 > 1024
  EXPECT_FALSE(porthub::Decode(bad.data(), back));
  const porthub::Header negative{257, -1, 0xFFFFFFFF, 20006, 0};
  ASSERT_TRUE(porthub::Decode(porthub::Encode(negative, nullptr).data(), back));
  EXPECT_EQ(back.driverId, -1);
}
