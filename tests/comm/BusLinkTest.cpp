#include "libs/buslink/BusLink.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "libs/portlink/CPortLink.h"
#include "libs/portlink/ModbusFrame.h"
#include "tests/comm/PeerHelpers.h"

using namespace commtest;

namespace {

struct UdpPeer {
  corvane::UniqueFd fd;
  int port = 0;
  bool Open() {
    fd.Reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
      return false;
    port = ntohs(sa.sin_port);
    return true;
  }
};

class BusLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.Open());
    ResetSocketErr();
    ResetSerialErr();
  }
  void TearDown() override {
    CloseSocket();
    CloseSerial();
  }
  UdpPeer device;
};

TEST_F(BusLinkTest, DiscoveryDatagramRoundTrip) {
  SetHostIPAddr(LoopbackNet());
  ASSERT_GT(OpenSocket(2, LoopbackNet(), 0, device.port, 3), 0);
  unsigned char request[36] = {0x04, 0x05, 0x00, 0x01};
  EXPECT_EQ(SendData(request, 36), 36);
  unsigned char got[64];
  sockaddr_in from{};
  socklen_t len = sizeof from;
  ASSERT_EQ(::recvfrom(device.fd.Get(), got, sizeof got, 0, reinterpret_cast<sockaddr*>(&from), &len), 36);
  EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));  // bound to the host address
  EXPECT_EQ(got[1], 0x05);

  Bytes shortReply(50, 0x15), longReply(300, 0x22);
  ASSERT_EQ(::sendto(device.fd.Get(), shortReply.data(), shortReply.size(), 0, reinterpret_cast<sockaddr*>(&from), len), 50);
  ASSERT_EQ(::sendto(device.fd.Get(), longReply.data(), longReply.size(), 0, reinterpret_cast<sockaddr*>(&from), len), 300);
  unsigned char buffer[256];
  std::memset(buffer, 0xEE, sizeof buffer);
  ASSERT_GT(ReadSelect(500), 0);
  EXPECT_EQ(RecvData(buffer, 256), 50);
  EXPECT_EQ(buffer[49], 0x15);
  EXPECT_EQ(buffer[50], 0);  // no stale bytes behind a short datagram
  EXPECT_EQ(buffer[255], 0);
  ASSERT_GT(ReadSelect(500), 0);
  EXPECT_EQ(RecvData(buffer, 256), 256);  // the first 256 bytes; the rest goes with it
  EXPECT_EQ(buffer[255], 0x22);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ReadSelect(200), 0);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(ms, 150);
  EXPECT_LT(ms, 600);
}

TEST_F(BusLinkTest, BroadcastTargetOpensWithoutHostAddress) {
  SetHostIPAddr(-1);  // none: left to the routing
  EXPECT_GT(OpenSocket(2, -1, 0, 20006, 3), 0);
  CloseSocket();
  EXPECT_LT(ReadSelect(10), 0);  // nothing open
  SetHostIPAddr(static_cast<int>(htonl(0xC0000201)));  // 192.0.2.1: not ours, so not bound
  EXPECT_GT(OpenSocket(2, LoopbackNet(), 0, device.port, 3), 0);
}

TEST_F(BusLinkTest, BadSocketArgumentsAndErrorCounters) {
  EXPECT_LE(OpenSocket(2, LoopbackNet(), 0, 0, 3), 0);
  EXPECT_LT(GetLastSocketErr(), 0);
  ResetSocketErr();
  EXPECT_EQ(GetLastSocketErr(), 0);
  EXPECT_LE(OpenSocket(7, LoopbackNet(), 0, 20006, 3), 0);
  unsigned char b[4] = {};
  EXPECT_LE(SendData(b, 4), 0);
  EXPECT_LE(RecvData(b, 4), 0);
  EXPECT_LE(RequestData(3, b, 4), 0);
  EXPECT_LT(GetLastSerialErr(), 0);
}

TEST_F(BusLinkTest, SettersAndAddressOrder) {
  SetRemoteIPAddr(static_cast<int>(htonl(0xC0A80105)));
  EXPECT_EQ(static_cast<unsigned>(GetRemoteIPAddr()), 0xC0A80105u);
  SetCOMPortParam(8, 2, 1);
  EXPECT_EQ(GetCOMPortFormat(), 821);
  SetCOMPortFormat(702);
  int d = 0, p = 0, s = 0;
  GetCOMPortParam(&d, &p, &s);
  EXPECT_EQ(d, 7);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(s, 2);
  SetCOMPortFormat(42);  // not three digits: ignored
  EXPECT_EQ(GetCOMPortFormat(), 702);
  SetCOMPortNum(4);
  SetCOMPortBaudrate(19200);
  SetStationAddr(9);
  SetModbusMode(2);
  SetCommType(1);
  EXPECT_EQ(GetCOMPortNum(), 4);
  EXPECT_EQ(GetCOMPortBaudrate(), 19200);
  EXPECT_EQ(GetStationAddr(), 9);
  EXPECT_EQ(GetModbusMode(), 2);
  EXPECT_EQ(GetCommType(), 1);
}

TEST_F(BusLinkTest, ModbusTcpThroughTheSameLibrary) {
  TcpListener server;
  ASSERT_TRUE(server.Open());
  SetStationAddr(1);
  ASSERT_GT(OpenSocket(1, LoopbackNet(), 0, server.port, 1), 0);
  corvane::UniqueFd peer = server.Accept();
  const unsigned char data[] = {0x15, 0x6A, 0x00, 0x01};
  ASSERT_GT(RequestData(3, data, 4), 0);
  const Bytes got = ReadFor(peer.Get(), 500);
  ASSERT_EQ(got.size(), 12u);
  ASSERT_TRUE(WriteBytes(peer.Get(), {got[0], got[1], 0, 0, 0, 5, 1, 3, 2, 0x40, 0x41}));
  unsigned char buffer[256] = {};
  EXPECT_EQ(ResponseData(buffer), 2);
  EXPECT_EQ(buffer[0], 0x40);
}

TEST(BusLinkSerial, OpensThroughTheSamePortMapAsPortLink) {
  PtyPeer device;
  ASSERT_TRUE(device.Open());
  CPortLink::SetPortMap([&](int port) { return CPortLink::PortSpec{port == 7 ? device.slavePath : std::string()}; });
  SetCOMPortNum(7);
  SetCOMPortBaudrate(19200);
  SetCOMPortParam(8, 0, 1);
  SetStationAddr(1);
  SetModbusMode(2);
  ASSERT_GT(OpenModbusSerial(), 0);
  const unsigned char data[] = {0x00, 0x12, 0x00, 0x02};
  ASSERT_GT(RequestData(0x67, data, 4), 0);
  EXPECT_EQ(ReadFor(device.master.Get(), 500), WithCrc({0x01, 0x67, 0x00, 0x12, 0x00, 0x02}));
  CloseSerial();
  SetCOMPortNum(8);  // not in the map
  EXPECT_LE(OpenModbusSerial(), 0);
  EXPECT_EQ(GetLastSerialErr(), corvane::modbus::kNotOpen);
  CPortLink::SetPortMap(nullptr);
}

TEST(BusLinkLibrary, ExportsEveryNameInTableOrder) {
  void* lib = ::dlopen(CORVANE_BIN_DIR "/libBusLink.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << ::dlerror();
  BusLinkApi api{};
  void** slots = reinterpret_cast<void**>(&api);
  static_assert(sizeof(BusLinkApi) == BUSLINK_NAME_COUNT * sizeof(void*));
  for (int i = 0; i < BUSLINK_NAME_COUNT; ++i) {
    slots[i] = ::dlsym(lib, BusLinkNames[i]);
    EXPECT_NE(slots[i], nullptr) << BusLinkNames[i];
  }
  ASSERT_NE(api.GetSerializeData, nullptr);
  const unsigned char block[] = {1, 2, 3};
  EXPECT_EQ(api.SetSerializeData(block, 3), 3);
  unsigned char out[10240] = {};
  EXPECT_EQ(api.GetSerializeData(out), 3);
  EXPECT_EQ(out[2], 3);
  ::dlclose(lib);
}

}  // namespace
