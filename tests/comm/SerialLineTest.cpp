// The serial link as real lines and other programs treat it: replies in pieces and late, the
// line's echo, the silence before a request, the reply's deadline at the line's speed, the locks
// other serial tools honour, RS-485 and the terminal's marks of bad characters.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "libs/portlink/CPortLink.h"
#include "libs/portlink/LineMarks.h"
#include "libs/portlink/ModbusFrame.h"
#include "libs/portlink/SerialLock.h"
#include "tests/comm/PeerHelpers.h"
#include "tests/comm/RtuPayloads.h"

using namespace commtest;
namespace mb = corvane::modbus;
using Clock = std::chrono::steady_clock;

namespace {

const unsigned char kRead[] = {0x00, 0x10, 0x00, 0x08};

long MsSince(Clock::time_point t) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

// Writes pieces to the device side from a thread, `gap` apart, starting `delay` after Start.
class PieceWriter {
 public:
  ~PieceWriter() { Join(); }
  void Start(int fd, std::vector<Bytes> pieces, std::chrono::microseconds gap, std::chrono::milliseconds delay = {}) {
    m_thread = std::thread([=] {
      // On a schedule of its own, so late wake-ups do not add up.
      auto at = Clock::now() + delay;
      for (const Bytes& p : pieces) {
        std::this_thread::sleep_until(at);
        WriteBytes(fd, p);
        at += gap;
      }
    });
  }
  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }

 private:
  std::thread m_thread;
};

std::vector<Bytes> Pieces(const Bytes& frame, const std::vector<std::size_t>& split) {
  std::vector<Bytes> out;
  for (std::size_t at = 0, k = 0; at < frame.size(); ++k) {
    const std::size_t size = split[k % split.size()] == 0 ? frame.size() : split[k % split.size()];
    const std::size_t end = std::min(frame.size(), at + size);
    out.emplace_back(frame.begin() + static_cast<long>(at), frame.begin() + static_cast<long>(end));
    at = end;
  }
  return out;
}

class LineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.Open());
    link.SetPortResolver([this](int port) { return port == 3 ? peer.slavePath : std::string(); });
    link.SetStationAddr(1);
  }
  // Sends a read of 8 registers and returns what reached the device side.
  Bytes Ask(int mode) {
    link.SetModbusMode(mode);
    EXPECT_GT(link.Request(0, 3, 0, 3, kRead, 4), 0);
    return ReadFor(peer.master.Get(), 300);
  }
  PtyPeer peer;
  CPortLink link;
};

TEST_F(LineTest, RtuReplyInPiecesTable) {
  for (const RtuPayload& p : TrickyRtuPayloads()) {
    for (const auto& split : RtuSplits()) {
      SCOPED_TRACE(p.name + ", pieces of " + std::to_string(split[0]));
      link.SetStationAddr(p.station);
      ASSERT_EQ(link.OpenSerial(3, 115200, 8, 0, 1), 3);
      Ask(2);
      PieceWriter writer;
      writer.Start(peer.master.Get(), Pieces(p.frame, split), std::chrono::microseconds(300));
      unsigned char buffer[256] = {};
      int fn = 0, count = 0;
      EXPECT_EQ(link.Response(0, 3, &fn, &count, buffer), static_cast<int>(p.data.size()))
          << link.LastErrorText();
      EXPECT_EQ(Bytes(buffer, buffer + p.data.size()), p.data);
      EXPECT_EQ(fn, 3);
      writer.Join();
      link.CloseSerial(3);
    }
  }
}

struct FunctionRow {
  const char* name;
  int mode;
  Bytes reply;
  int result;
  int function;
  int exception;
  const char* text;  // in LastErrorText
};

TEST_F(LineTest, FunctionAndExceptionOfTheReply) {
  const FunctionRow rows[] = {
      {"rtu data", 2, WithCrc({0x01, 0x03, 0x02, 0x12, 0x34}), 2, 3, 0, ""},
      {"rtu exception 02", 2, WithCrc({0x01, 0x83, 0x02}), mb::kException, 0x83, 2, "exception 02 (illegal data address)"},
      {"rtu exception 06", 2, WithCrc({0x01, 0x83, 0x06}), mb::kException, 0x83, 6, "exception 06 (server device busy)"},
      {"rtu after noise", 2, Concat({{0x00, 0xFF}, WithCrc({0x01, 0x03, 0x02, 0x12, 0x34})}), 2, 3, 0, ""},
      {"rtu other function", 2, WithCrc({0x01, 0x04, 0x02, 0x12, 0x34}), mb::kFunction, 4, 0, "another function"},
      {"rtu silence", 2, {}, mb::kTimeout, -1, 0, "time-out"},
      {"ascii data", 1, Text(":0103021234B4\r\n"), 2, 3, 0, ""},
      {"ascii exception", 1, Text(":0183027A\r\n"), mb::kException, 0x83, 2, "illegal data address"},
      {"ascii after a noise line", 1, Text("garbage:01\r\n:0103021234B4\r\n"), 2, 3, 0, ""},
  };
  link.SetResponseTimeout(200);
  for (const FunctionRow& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(link.OpenSerial(3, 19200, 8, 0, 1), 3);
    Ask(row.mode);
    ASSERT_TRUE(WriteBytes(peer.master.Get(), row.reply));
    unsigned char buffer[256] = {};
    int fn = 0;
    EXPECT_EQ(link.Response(0, 3, &fn, nullptr, buffer), row.result);
    EXPECT_EQ(fn, row.function);
    EXPECT_EQ(link.LastException(), row.exception);
    if (*row.text) { EXPECT_NE(link.LastErrorText().find(row.text), std::string::npos) << link.LastErrorText(); }
    link.CloseSerial(3);
  }
}

TEST_F(LineTest, EchoOfTheRequestIsSkipped) {
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(link.OpenSerial(3, 19200, 8, 0, 1), 3);
    const Bytes request = Ask(mode);
    const Bytes reply = mode == 2 ? WithCrc({0x01, 0x03, 0x02, 0x12, 0x34}) : Text(":0103021234B4\r\n");
    ASSERT_TRUE(WriteBytes(peer.master.Get(), Concat({request, reply})));
    unsigned char buffer[256] = {};
    EXPECT_EQ(link.Response(0, 3, nullptr, nullptr, buffer), 2) << link.LastErrorText();
    EXPECT_EQ(buffer[0], 0x12);
    link.CloseSerial(3);
  }
}

TEST_F(LineTest, SilenceCountsFromTheLastByteSeen) {
  // 1200 baud, 10 bits a character: 3.5 characters are 29.2 ms.
  ASSERT_EQ(link.OpenSerial(3, 1200, 8, 0, 1), 3);
  link.SetModbusMode(2);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  const auto start = Clock::now();
  ASSERT_GT(link.Request(0, 3, 0, 3, kRead, 4), 0);
  EXPECT_LT(MsSince(start), 15) << "a request after a long silence goes out at once";
  ReadFor(peer.master.Get(), 100);
  ASSERT_TRUE(WriteBytes(peer.master.Get(), WithCrc({0x01, 0x03, 0x02, 0x12, 0x34})));
  const auto replied = Clock::now();
  unsigned char buffer[256];
  ASSERT_EQ(link.Response(0, 3, nullptr, nullptr, buffer), 2);
  ASSERT_GT(link.Request(0, 3, 0, 3, kRead, 4), 0);
  pollfd p{peer.master.Get(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 200), 1);
  EXPECT_GE(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - replied).count(), 29166)
      << "the next request kept 3.5 characters after the reply's last byte";
}

TEST_F(LineTest, ReplyDeadlineFollowsTheLine) {
  // 4800 baud: 125 registers (255 bytes) take 531 ms on the wire, more than the response time.
  const RtuPayload p = TrickyRtuPayloads().back();
  link.SetResponseTimeout(200);
  struct Row {
    const char* name;
    int startMs;
    int expected;
  } rows[] = {{"starts in time, takes its wire time", 100, 250}, {"starts after the response time", 400, mb::kTimeout}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(link.OpenSerial(3, 4800, 8, 0, 1), 3);
    Ask(2);
    PieceWriter writer;
    writer.Start(peer.master.Get(), Pieces(p.frame, {1}), std::chrono::microseconds(2083),
                 std::chrono::milliseconds(row.startMs));
    unsigned char buffer[256];
    const auto start = Clock::now();
    EXPECT_EQ(link.Response(0, 3, nullptr, nullptr, buffer), row.expected) << link.LastErrorText();
    if (row.expected > 0) { EXPECT_GE(MsSince(start), 500); }
    writer.Join();
    link.CloseSerial(3);
  }
}

TEST_F(LineTest, Rs485OnADriverThatHasNone) {
  CPortLink mapped;  // no resolver of its own: the process's port map
  CPortLink::SetPortMap([&](int port) {
    return port == 4 ? CPortLink::PortSpec{peer.slavePath, true, 1, 2} : CPortLink::PortSpec{peer.slavePath};
  });
  EXPECT_LT(mapped.OpenSerial(4, 9600, 8, 0, 1), 0);
  EXPECT_NE(mapped.LastErrorText().find("no RS-485 mode"), std::string::npos) << mapped.LastErrorText();
  EXPECT_EQ(mapped.OpenSerial(5, 9600, 8, 0, 1), 5);  // off: the same device opens
  mapped.CloseSerial(5);
  CPortLink::SetPortMap(nullptr);
}

struct MarkRow {
  const char* name;
  std::vector<Bytes> reads;
  Bytes data;
  Bytes bad;
};

TEST(LineMarksTest, TerminalMarksAreUndone) {
  const MarkRow rows[] = {
      {"plain", {{1, 2, 3}}, {1, 2, 3}, {0, 0, 0}},
      {"doubled FF", {{1, 0xFF, 0xFF, 2}}, {1, 0xFF, 2}, {0, 0, 0}},
      {"parity error", {{1, 0xFF, 0x00, 0x41, 2}}, {1, 0x41, 2}, {0, 1, 0}},
      {"break", {{0xFF, 0x00, 0x00}}, {0x00}, {1}},
      {"mark cut between reads", {{1, 0xFF}, {0x00}, {0x42, 3}}, {1, 0x42, 3}, {0, 1, 0}},
      {"doubled FF cut between reads", {{0xFF}, {0xFF, 0xFF, 0xFF}}, {0xFF, 0xFF}, {0, 0}},
  };
  for (const MarkRow& row : rows) {
    SCOPED_TRACE(row.name);
    corvane::LineMarks marks;
    Bytes data, bad;
    for (const Bytes& raw : row.reads) {
      Bytes out(raw.size()), flags(raw.size());
      const std::size_t n = marks.Decode(raw.data(), raw.size(), out.data(), flags.data());
      data.insert(data.end(), out.begin(), out.begin() + static_cast<long>(n));
      bad.insert(bad.end(), flags.begin(), flags.begin() + static_cast<long>(n));
    }
    EXPECT_EQ(data, row.data);
    EXPECT_EQ(bad, row.bad);
  }
}

}  // namespace
