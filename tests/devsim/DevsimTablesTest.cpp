// The simulator's four tables, its identification (function 43/14) and --stations, over its
// real TCP listener and pty.
#include <gtest/gtest.h>

#include <filesystem>

#include "DevsimFixture.h"

using namespace devsim_test;
using namespace std::chrono_literals;

namespace {

class DevsimTables : public DevsimFixture {
 protected:
  void Start(std::vector<std::string> args) {
    args.insert(args.end(), {"--tcp-port", "0", "--no-udp"});
    ASSERT_TRUE(m_sim.Start(args, m_home));
    m_fd = ConnectTcp(m_sim.Field("tcp"));
    ASSERT_GE(m_fd, 0);
  }
  // One Modbus TCP exchange: the reply's PDU, empty when nothing came.
  Bytes Ask(std::uint8_t unit, const Bytes& pdu, std::chrono::milliseconds limit = 2s) {
    Bytes adu = {0x00, ++m_tid, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(pdu.size() + 1), unit};
    adu.insert(adu.end(), pdu.begin(), pdu.end());
    EXPECT_TRUE(SendAll(m_fd, adu));
    const Bytes header = ReadFor(m_fd, 7, limit);
    if (header.size() < 7) return {};
    const Bytes rest = ReadFor(m_fd, header[5] - 1u, limit);
    return rest;
  }

  std::uint8_t m_tid = 0;
};

TEST_F(DevsimTables, CoilsDiscreteInputsAndInputRegisters) {
  Start({"--no-pty", "--device", "station=1 coil=0:1,2:1,9:1 discrete=1:1 input=5:0xBEEF"});
  EXPECT_EQ(Hex(Ask(1, {0x01, 0x00, 0x00, 0x00, 0x0A})), Hex({0x01, 0x02, 0x05, 0x02}));
  EXPECT_EQ(Hex(Ask(1, {0x02, 0x00, 0x00, 0x00, 0x03})), Hex({0x02, 0x01, 0x02}));
  EXPECT_EQ(Hex(Ask(1, {0x04, 0x00, 0x05, 0x00, 0x01})), Hex({0x04, 0x02, 0xBE, 0xEF}));
  EXPECT_EQ(Hex(Ask(1, {0x03, 0x00, 0x05, 0x00, 0x01})), Hex({0x03, 0x02, 0x00, 0x00}));  // holding apart
  // Write one coil, then ten, and read them back.
  EXPECT_EQ(Hex(Ask(1, {0x05, 0x00, 0x01, 0xFF, 0x00})), Hex({0x05, 0x00, 0x01, 0xFF, 0x00}));
  EXPECT_EQ(Hex(Ask(1, {0x05, 0x00, 0x01, 0x12, 0x34})), Hex({0x85, 0x03}));  // neither on nor off
  EXPECT_EQ(Hex(Ask(1, {0x0F, 0x00, 0x10, 0x00, 0x0A, 0x02, 0xCD, 0x01})), Hex({0x0F, 0x00, 0x10, 0x00, 0x0A}));
  EXPECT_EQ(Hex(Ask(1, {0x01, 0x00, 0x10, 0x00, 0x0A})), Hex({0x01, 0x02, 0xCD, 0x01}));
  EXPECT_EQ(Hex(Ask(1, {0x01, 0x00, 0x00, 0x00, 0x03})), Hex({0x01, 0x01, 0x07}));
  EXPECT_EQ(Hex(Ask(1, {0x0F, 0x00, 0x10, 0x00, 0x0A, 0x01, 0xCD})), Hex({0x8F, 0x03}));  // byte count short
  EXPECT_EQ(Hex(Ask(1, {0x01, 0xFF, 0xFF, 0x00, 0x02})), Hex({0x81, 0x02}));              // past the end
  EXPECT_EQ(Hex(Ask(1, {0x02, 0x00, 0x00, 0x07, 0xD1})), Hex({0x82, 0x03}));              // 2001 inputs
}

TEST_F(DevsimTables, IdentificationBasicRegularOneObjectAndNone) {
  Start({"--no-pty", "--device", "code=0x0015 station=1", "--device", "station=2 ident=Acme,P-7,2.1,http://a,Pump",
         "--device", "station=3 ident=none"});
  EXPECT_EQ(Hex(Ask(1, {0x2B, 0x0E, 0x01, 0x00})),
            Hex({0x2B, 0x0E, 0x01, 0x81, 0x00, 0x00, 0x03, 0x00, 6, 'Z', 'e', 'l', 'm', 'a', 'r', 0x01, 4, '0', '0',
                 '1', '5', 0x02, 4, '1', '.', '0', '0'}));
  const Bytes regular = Ask(2, {0x2B, 0x0E, 0x02, 0x03});
  ASSERT_GE(regular.size(), 7u);
  EXPECT_EQ(regular[3], 0x82);  // the regular category is offered
  EXPECT_EQ(regular[6], 2);     // objects 3 and 4
  EXPECT_EQ(Hex(Ask(2, {0x2B, 0x0E, 0x04, 0x04})), Hex({0x2B, 0x0E, 0x04, 0x82, 0x00, 0x00, 0x01, 0x04, 4, 'P', 'u', 'm', 'p'}));
  EXPECT_EQ(Hex(Ask(2, {0x2B, 0x0E, 0x04, 0x06})), Hex({0xAB, 0x02}));
  EXPECT_EQ(Hex(Ask(3, {0x2B, 0x0E, 0x01, 0x00})), Hex({0xAB, 0x01}));
  EXPECT_EQ(Hex(Ask(1, {0x2B, 0x0D, 0x01, 0x00})), Hex({0xAB, 0x03}));
}

TEST_F(DevsimTables, LongObjectsComeInStepsWithMoreFollows) {
  const std::string big(200, 'x');
  Start({"--no-pty", "--device", "station=1 ident=" + big + "," + big + "," + big});
  const Bytes first = Ask(1, {0x2B, 0x0E, 0x01, 0x00});
  ASSERT_GE(first.size(), 7u);
  EXPECT_EQ(first[4], 0xFF);  // more follows
  EXPECT_EQ(first[5], 1);     // from object 1
  EXPECT_EQ(first[6], 1);
  const Bytes last = Ask(1, {0x2B, 0x0E, 0x01, 0x02});
  ASSERT_GE(last.size(), 7u);
  EXPECT_EQ(last[4], 0x00);
  EXPECT_EQ(last.size(), 7u + 2u + 200u);
}

TEST_F(DevsimTables, StationsServesExactlyTheListedUnits) {
  Start({"--no-pty", "--stations", "3,7-8", "--device", "code=0x0015 reg=0:42"});
  for (const std::uint8_t unit : {3, 7, 8}) EXPECT_EQ(Hex(Ask(unit, {0x03, 0x00, 0x00, 0x00, 0x01})), Hex({0x03, 0x02, 0x00, 0x2A}));
  for (const std::uint8_t unit : {1, 4, 9, 247}) EXPECT_TRUE(Ask(unit, {0x03, 0x00, 0x00, 0x00, 0x01}, 300ms).empty());
}

TEST_F(DevsimTables, StationsOnThePtyAndRtuFramesOfFunctions15And43) {
  ASSERT_TRUE(m_sim.Start({"--no-tcp", "--no-udp", "--mode", "rtu", "--stations", "2,5"}, m_home));
  m_fd = OpenPty(m_sim.Field("pty"));
  ASSERT_GE(m_fd, 0);
  ASSERT_TRUE(SendAll(m_fd, Rtu({0x05, 0x0F, 0x00, 0x00, 0x00, 0x03, 0x01, 0x05})));
  EXPECT_EQ(Hex(ReadFor(m_fd, 8, 2s)), Hex(Rtu({0x05, 0x0F, 0x00, 0x00, 0x00, 0x03})));
  ASSERT_TRUE(SendAll(m_fd, Rtu({0x02, 0x2B, 0x0E, 0x04, 0x00})));
  EXPECT_EQ(Hex(ReadFor(m_fd, 18, 2s)), Hex(Rtu({0x02, 0x2B, 0x0E, 0x04, 0x81, 0x00, 0x00, 0x01, 0x00, 6, 'Z', 'e',
                                                'l', 'm', 'a', 'r'})));
  ASSERT_TRUE(SendAll(m_fd, Rtu({0x03, 0x03, 0x00, 0x00, 0x00, 0x01})));
  EXPECT_TRUE(ReadFor(m_fd, 1, 300ms).empty());
}

class DevsimTablesBadOption : public DevsimTables, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(DevsimTablesBadOption, RefusedWithStatus2) {
  EXPECT_FALSE(m_sim.Start(GetParam(), m_home));
  EXPECT_EQ(m_sim.WaitExit(5s), 2);
}

INSTANTIATE_TEST_SUITE_P(Rows, DevsimTablesBadOption,
                         ::testing::Values(std::vector<std::string>{"--stations", "300"},
                                           std::vector<std::string>{"--stations", "9-3"},
                                           std::vector<std::string>{"--stations", "1,x"},
                                           std::vector<std::string>{"--device", "coil=1:2"},
                                           std::vector<std::string>{"--device", "ident=a,b"},
                                           std::vector<std::string>{"--device", "ident=a,b,c,d,e,f,g,h"}));

}  // namespace
