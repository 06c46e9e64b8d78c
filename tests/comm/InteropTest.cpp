// Our clients against independent Modbus servers: libmodbus (TCP and RTU) and pymodbus (ASCII and RTU).
#include <gtest/gtest.h>
#include <modbus.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "libs/portlink/CPortLink.h"
#include "tests/comm/InteropPeers.h"
#include "tests/comm/PeerHelpers.h"

using namespace commtest;

namespace {

void ExpectRegisters(const unsigned char* buffer, int count, int first) {
  for (int i = 0; i < count; ++i) {
    const int value = buffer[2 * i] << 8 | buffer[2 * i + 1];
    EXPECT_EQ(value, 3 * (first + i) + 1) << "register " << first + i;
  }
}

// Retries while a freshly started server is still coming up.
int ReadRegisters(CPortLink& link, int type, int handle, int first, int count, unsigned char* buffer, int attempts) {
  const unsigned char data[] = {static_cast<unsigned char>(first >> 8), static_cast<unsigned char>(first), 0,
                                static_cast<unsigned char>(count)};
  int r = -1;
  for (int i = 0; i < attempts && r <= 0; ++i) {
    if (link.Request(type, handle, 0, 3, data, 4) <= 0) return -1;
    r = link.Response(type, handle, nullptr, nullptr, buffer);
  }
  return r;
}

TEST(Interop, TcpClientReadsFromLibmodbus) {
  LibmodbusTcpServer server;
  ASSERT_TRUE(server.Start());
  CPortLink link;
  link.SetStationAddr(1);
  const int conn = link.GetSocketConnNum();
  ASSERT_EQ(link.OpenSocket(conn, 1, LoopbackNet(), server.Port(), 0), conn);
  unsigned char buffer[256] = {};
  for (int first : {0, 17, 90}) {
    SCOPED_TRACE(first);
    ASSERT_EQ(ReadRegisters(link, 1, conn, first, 8, buffer, 1), 16);
    ExpectRegisters(buffer, 8, first);
  }
  // Reading past the mapping: libmodbus answers with an exception.
  EXPECT_LE(ReadRegisters(link, 1, conn, 250, 8, buffer, 1), 0);
  EXPECT_EQ(ReadRegisters(link, 1, conn, 1, 1, buffer, 1), 2);  // and the link stays in step
  link.CloseSocket(conn);
}

TEST(Interop, RtuClientReadsFromLibmodbusOnPtys) {
  PtyPair pair;
  if (!pair.Start()) GTEST_SKIP() << "socat not available: cannot link two ptys";
  LibmodbusRtuServer server;
  ASSERT_TRUE(server.Start(pair.DeviceSide()));
  CPortLink link;
  link.SetPortResolver([&](int) { return pair.HostSide(); });
  link.SetStationAddr(1);
  link.SetModbusMode(2);
  ASSERT_EQ(link.OpenSerial(2, 9600, 8, 0, 1), 2);
  unsigned char buffer[256] = {};
  ASSERT_EQ(ReadRegisters(link, 0, 2, 0, 8, buffer, 3), 16);
  ExpectRegisters(buffer, 8, 0);
  ASSERT_EQ(ReadRegisters(link, 0, 2, 40, 8, buffer, 1), 16);
  ExpectRegisters(buffer, 8, 40);
  link.CloseSerial(2);
  pair.Stop();  // ends the server's blocking read
}

class PymodbusTest : public ::testing::TestWithParam<int> {};

TEST_P(PymodbusTest, SerialClientReadsFromPymodbus) {
  const int mode = GetParam();
  const std::string script = CORVANE_SOURCE_DIR "/tests/comm/pymodbus_serial_server.py";
  if (!HasPymodbus()) GTEST_SKIP() << "python3 with pymodbus not available";
  PtyPair pair;
  if (!pair.Start()) GTEST_SKIP() << "socat not available: cannot link two ptys";
  ChildProcess server;
  ASSERT_TRUE(server.Start({"/usr/bin/python3", script, pair.DeviceSide(), mode == 1 ? "ascii" : "rtu"}));
  CPortLink link;
  link.SetPortResolver([&](int) { return pair.HostSide(); });
  link.SetStationAddr(1);
  link.SetModbusMode(mode);
  link.SetResponseTimeout(500);
  ASSERT_EQ(link.OpenSerial(1, 9600, 8, 0, 1), 1);
  unsigned char buffer[256] = {};
  ASSERT_EQ(ReadRegisters(link, 0, 1, 0, 8, buffer, 20), 16) << "pymodbus did not answer in 10 s";
  ExpectRegisters(buffer, 8, 0);
  ASSERT_EQ(ReadRegisters(link, 0, 1, 100, 8, buffer, 1), 16);
  ExpectRegisters(buffer, 8, 100);
}

INSTANTIATE_TEST_SUITE_P(Modes, PymodbusTest, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Ascii" : "Rtu"; });

}  // namespace
