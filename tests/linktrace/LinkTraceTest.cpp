#include "libs/portlink/LinkTrace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/ModbusFrame.h"

namespace corvane::trace {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Rtu(Bytes b) {
  const std::uint16_t crc = Crc16Modbus(b.data(), b.size());
  b.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  b.push_back(static_cast<std::uint8_t>(crc >> 8));
  return b;
}
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct SummaryCase {
  const char* name;
  Framing framing;
  Bytes bytes;
  bool request;
  FrameSummary expected;
};
void PrintTo(const SummaryCase& c, std::ostream* os) { *os << c.name; }

class FrameSummaries : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(FrameSummaries, ReadWhatTheFrameSays) {
  const FrameSummary s = LinkTrace::Summarize(GetParam().framing, GetParam().bytes, GetParam().request);
  const FrameSummary& e = GetParam().expected;
  EXPECT_EQ(s.station, e.station);
  EXPECT_EQ(s.function, e.function);
  EXPECT_EQ(s.exception, e.exception);
  EXPECT_EQ(s.byteCount, e.byteCount);
  EXPECT_EQ(s.address, e.address);
  EXPECT_EQ(s.count, e.count);
  EXPECT_EQ(s.transaction, e.transaction);
  EXPECT_EQ(s.check, e.check);
}

// station, function, exception, byteCount, address, count, transaction, check
INSTANTIATE_TEST_SUITE_P(Table, FrameSummaries, ::testing::Values(
    SummaryCase{"RTU read request", Framing::Rtu, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}, true,
                {1, 3, 0, -1, 0, 1, -1, Check::Ok}},
    SummaryCase{"RTU read reply", Framing::Rtu, Rtu({0x01, 0x03, 0x02, 0x12, 0x34}), false, {1, 3, 0, 2, -1, -1, -1, Check::Ok}},
    SummaryCase{"RTU bad CRC", Framing::Rtu, {0x01, 0x03, 0x02, 0x12, 0x34, 0x00, 0x00}, false, {1, 3, 0, 2, -1, -1, -1, Check::Bad}},
    SummaryCase{"RTU exception", Framing::Rtu, Rtu({0x07, 0x83, 0x02}), false, {7, 0x83, 2, -1, -1, -1, -1, Check::Ok}},
    SummaryCase{"RTU write 16 request", Framing::Rtu, Rtu({0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x04, 0, 1, 0, 2}), true,
                {1, 16, 0, 4, 100, 2, -1, Check::Ok}},
    SummaryCase{"RTU write echo", Framing::Rtu, Rtu({0x01, 0x06, 0x00, 0x01, 0x00, 0x07}), false, {1, 6, 0, -1, 1, 7, -1, Check::Ok}},
    SummaryCase{"RTU cut short", Framing::Rtu, {0x01, 0x03}, false, {1, 3, 0, -1, -1, -1, -1, Check::Bad}},
    SummaryCase{"RTU nothing", Framing::Rtu, {}, false, {}},
    SummaryCase{"ASCII request", Framing::Ascii, Text(":01670012000284\r\n"), true, {1, 0x67, 0, -1, 0x12, 2, -1, Check::Ok}},
    SummaryCase{"ASCII reply, bad LRC", Framing::Ascii, Text(":016704000100157F\r\n"), false, {1, 0x67, 0, 4, -1, -1, -1, Check::Bad}},
    SummaryCase{"ASCII no hex", Framing::Ascii, Text(":01ZZ\r\n"), false, {-1, -1, 0, -1, -1, -1, -1, Check::Bad}},
    SummaryCase{"TCP request", Framing::Tcp, {0x00, 0x07, 0, 0, 0, 6, 0x05, 0x03, 0x15, 0x6A, 0x00, 0x08}, true,
                {5, 3, 0, -1, 0x156A, 8, 7, Check::Ok}},
    SummaryCase{"TCP reply, length wrong", Framing::Tcp, {0x00, 0x07, 0, 0, 0, 9, 0x05, 0x03, 0x02, 0x00, 0x01}, false,
                {5, 3, 0, 2, -1, -1, 7, Check::Bad}},
    SummaryCase{"TCP exception", Framing::Tcp, {0x00, 0x01, 0, 0, 0, 3, 0x01, 0xAB, 0x01}, false, {1, 0xAB, 1, -1, -1, -1, 1, Check::Ok}},
    SummaryCase{"PORTHUB frame", Framing::Porthub, {0x50, 0x48, 0x01, 0x01, 0, 0, 0, 1, 127, 0, 0, 1, 0x4E, 0x26, 0x00, 0x02, 0xAA, 0xBB},
                false, {-1, -1, 0, 2, -1, -1, 257, Check::Ok}},
    SummaryCase{"raw", Framing::Raw, {0xC0, 0x04, 0x05, 0xC0}, true, {}}));

class Recorder : public ILinkTraceListener {
public:
  void OnTrace(const TraceEvent& e) override { seen.push_back(e.link); }
  std::vector<std::string> seen;
};

TEST(LinkTrace, OnlyWhileSomeoneListens) {
  EXPECT_FALSE(LinkTrace::Active());
  Recorder a, b;
  LinkTrace::AddListener(&a);
  EXPECT_TRUE(LinkTrace::Active());
  LinkTrace::AddListener(&b);
  TraceEvent e;
  e.link = "COM5";
  LinkTrace::Emit(e);
  LinkTrace::RemoveListener(&a);
  EXPECT_TRUE(LinkTrace::Active());
  e.link = "COM6";
  LinkTrace::Emit(e);
  LinkTrace::RemoveListener(&b);
  EXPECT_FALSE(LinkTrace::Active());
  EXPECT_EQ(a.seen, (std::vector<std::string>{"COM5"}));
  EXPECT_EQ(b.seen, (std::vector<std::string>{"COM5", "COM6"}));
  EXPECT_STREQ(LinkTrace::FailureText(modbus::kTimeout), "time-out");
  EXPECT_STREQ(LinkTrace::FailureText(0), "");
}

}  // namespace
}  // namespace corvane::trace
