#include "libs/portlink/CPortLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/ModbusFrame.h"
#include "tests/comm/PeerHelpers.h"

using namespace commtest;
namespace mb = corvane::modbus;

namespace {

const unsigned char kRead2[] = {0x00, 0x12, 0x00, 0x02};

class SerialLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.Open());
    link.SetPortResolver([this](int port) { return port == 3 ? peer.slavePath : std::string(); });
    link.SetResponseTimeout(200);
    link.SetStationAddr(1);
  }
  PtyPeer peer;
  CPortLink link;
};

struct SerialRow {
  const char* name;
  int mode;
  Bytes reply;
  bool closePeer;
  int expected;
};

TEST_F(SerialLinkTest, RequestFramesByMode) {
  ASSERT_EQ(link.OpenSerial(3, 19200, 8, 0, 1), 3);
  link.SetModbusMode(2);
  EXPECT_EQ(link.Request(0, 3, 0, 0x67, kRead2, 4), 8);
  EXPECT_EQ(ReadFor(peer.master.Get(), 500), WithCrc({0x01, 0x67, 0x00, 0x12, 0x00, 0x02}));
  link.SetModbusMode(1);
  EXPECT_EQ(link.Request(0, 3, 0, 0x67, kRead2, 4), 17);
  EXPECT_EQ(ReadFor(peer.master.Get(), 500), Text(":01670012000284\r\n"));
  link.SetModbusMode(0);
  EXPECT_EQ(link.Request(0, 3, 0, 3, kRead2, 4), mb::kBadArgument);
  EXPECT_EQ(link.Request(0, 4, 0, 3, kRead2, 4), mb::kNotOpen);
}

TEST_F(SerialLinkTest, ResponseTable) {
  const Bytes rtuGood = WithCrc({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x15});
  Bytes rtuBadCrc = rtuGood;
  rtuBadCrc[4] ^= 1;
  Bytes rtuGarbage{0x00, 0xFF};
  rtuGarbage.insert(rtuGarbage.end(), rtuGood.begin(), rtuGood.end());
  const SerialRow rows[] = {
      {"rtu good", 2, rtuGood, false, 4},
      {"rtu garbage before", 2, rtuGarbage, false, 4},
      {"rtu bad crc", 2, rtuBadCrc, false, mb::kChecksum},
      {"rtu wrong station", 2, WithCrc({0x02, 0x03, 0x02, 0x00, 0x01}), false, mb::kStation},
      {"rtu wrong function", 2, WithCrc({0x01, 0x04, 0x02, 0x00, 0x01}), false, mb::kFunction},
      {"rtu exception", 2, WithCrc({0x01, 0x83, 0x02}), false, mb::kException},
      {"rtu truncated", 2, Bytes(rtuGood.begin(), rtuGood.begin() + 5), false, mb::kTruncated},
      {"rtu silence", 2, {}, false, mb::kTimeout},
      {"rtu peer closes mid-frame", 2, Bytes(rtuGood.begin(), rtuGood.begin() + 4), true, mb::kTruncated},
      {"ascii good", 1, Text(":01030400010015E2\r\n"), false, 4},
      {"ascii noise before", 1, Text("\r\n#:0103:01030400010015E2\r\n"), false, 4},
      {"ascii bad lrc", 1, Text(":01030400010015E3\r\n"), false, mb::kChecksum},
      {"ascii exception", 1, Text(":0183027A\r\n"), false, mb::kException},
      {"ascii silence", 1, {}, false, mb::kTimeout},
  };
  for (const SerialRow& row : rows) {
    SCOPED_TRACE(row.name);
    PtyPeer fresh;
    ASSERT_TRUE(fresh.Open());
    link.SetPortResolver([&](int) { return fresh.slavePath; });
    ASSERT_EQ(link.OpenSerial(3, 9600, 8, 0, 1), 3);
    link.SetModbusMode(row.mode);
    ASSERT_GT(link.Request(0, 3, 0, 3, kRead2, 4), 0);
    ReadFor(fresh.master.Get(), 300);
    ASSERT_TRUE(WriteBytes(fresh.master.Get(), row.reply));
    if (row.closePeer) fresh.master.Reset();
    unsigned char buffer[256] = {};
    int fn = 0, count = 0;
    const auto start = std::chrono::steady_clock::now();
    const int r = link.Response(0, 3, &fn, &count, buffer);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (row.expected == mb::kTruncated && row.closePeer) EXPECT_LE(r, 0);
    else EXPECT_EQ(r, row.expected);
    EXPECT_LT(ms, 1000);
    if (r > 0) {
      EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0x00, 0x01, 0x00, 0x15}));
      EXPECT_EQ(count, 4);
    }
    link.CloseSerial(3);
  }
}

TEST_F(SerialLinkTest, ResponseWithoutRequestFails) {
  ASSERT_EQ(link.OpenSerial(3, 9600, 8, 0, 1), 3);
  unsigned char buffer[256];
  EXPECT_LE(link.Response(0, 3, nullptr, nullptr, buffer), 0);
  EXPECT_LE(link.Response(0, 3, nullptr, nullptr, nullptr), 0);
}

TEST_F(SerialLinkTest, PortsThatAreNotTerminals) {
  char path[] = "/tmp/corvane-notatty-XXXXXX";
  const int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  ::close(fd);
  const std::string regular = path;
  link.SetPortResolver([&](int port) {
    if (port == 1) return regular;
    if (port == 2) return std::string("/dev/null");
    if (port == 3) return std::string("/nonexistent/tty");
    return std::string();
  });
  EXPECT_LT(link.OpenSerial(1, 9600, 8, 0, 1), 0);
  EXPECT_LT(link.OpenSerial(2, 9600, 8, 0, 1), 0);
  EXPECT_LT(link.OpenSerial(3, 9600, 8, 0, 1), 0);
  EXPECT_LT(link.OpenSerial(4, 9600, 8, 0, 1), 0);  // not in the map
  EXPECT_LT(link.OpenSerialEx(1, 19200, 10), 0);
  std::remove(path);
}

TEST_F(SerialLinkTest, BadLineFormatsAreRefused) {
  EXPECT_LT(link.OpenSerial(3, 12345, 8, 0, 1), 0);
  EXPECT_LT(link.OpenSerial(3, 9600, 9, 0, 1), 0);
  EXPECT_LT(link.OpenSerial(3, 9600, 8, 3, 1), 0);
  EXPECT_LT(link.OpenSerial(3, 9600, 8, 0, 3), 0);
  EXPECT_EQ(link.OpenSerial(3, 9600, 7, 2, 1), 3);
}

TEST_F(SerialLinkTest, PseudoTerminalReopensWithParityEveryTime) {
  // The search opens the port, closes it, and each module opens it again with the same
  // settings: a pty that dropped the parity on the first open must not refuse the next ones.
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(link.OpenSerial(3, 19200, 8, 2, 1), 3) << "round " << round;
    link.SetModbusMode(2);
    EXPECT_EQ(link.Request(0, 3, 0, 3, kRead2, 4), 8);
    EXPECT_EQ(ReadFor(peer.master.Get(), 500), WithCrc({0x01, 0x03, 0x00, 0x12, 0x00, 0x02}));
    link.CloseSerial(3);
  }
  ASSERT_EQ(link.OpenSerialEx(3, 19200, 2), 3);
  link.CloseSerial(3);
  EXPECT_EQ(link.OpenSerial(3, 9600, 7, 1, 2), 3);
  // Seven data bits, which a pty does not keep either (the settings' defaults are 7E1).
  for (int round = 0; round < 3; ++round) {
    link.CloseSerial(3);
    ASSERT_EQ(link.OpenSerial(3, 9600, 7, 2, 1), 3) << "7E1, round " << round;
  }
}

TEST_F(SerialLinkTest, RawDiscoveryLine) {
  ASSERT_EQ(link.OpenSerialEx(3, 19200, 2), 3);  // 200 ms read time-out
  Bytes frame{0xC0, 0x04, 0x05, 0x00, 0x01};
  frame.resize(37, 0);
  frame.push_back(0xF6);
  frame.push_back(0xC0);
  EXPECT_EQ(link.SendData(0, 3, frame.data(), static_cast<int>(frame.size())), 39);
  EXPECT_EQ(ReadFor(peer.master.Get(), 500), frame);
  Bytes reply(120, 0x11);
  reply.front() = reply.back() = 0xC0;
  ASSERT_TRUE(WriteBytes(peer.master.Get(), reply));
  unsigned char buffer[256] = {};
  EXPECT_EQ(link.RecvData(0, 3, buffer, 256), 120);
  EXPECT_EQ(Bytes(buffer, buffer + 120), reply);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_LE(link.RecvData(0, 3, buffer, 256), 0);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(ms, 150);
  EXPECT_LT(ms, 800);
  Bytes flood(400, 0x22);
  ASSERT_TRUE(WriteBytes(peer.master.Get(), flood));
  EXPECT_EQ(link.RecvData(0, 3, buffer, 256), 256);  // never more than the buffer
  EXPECT_LE(link.SendData(0, 3, frame.data(), 0), 0);
  link.CloseSerial(3);
  EXPECT_LE(link.SendData(0, 3, frame.data(), 39), 0);
}

class SocketLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Open());
    link.SetResponseTimeout(200);
    link.SetStationAddr(5);
  }
  int Connect() {
    const int conn = link.GetSocketConnNum();
    EXPECT_EQ(link.OpenSocket(conn, 1, LoopbackNet(), server.port, 0), conn);
    peer = server.Accept();
    return conn;
  }
  TcpListener server;
  corvane::UniqueFd peer;
  CPortLink link;
};

TEST_F(SocketLinkTest, ConnectionNumbersAndRefusedConnect) {
  EXPECT_EQ(link.GetSocketConnNum(), 1);
  const int conn = Connect();
  EXPECT_EQ(conn, 1);
  EXPECT_EQ(link.GetSocketConnNum(), 2);
  link.CloseSocket(conn);
  EXPECT_EQ(link.GetSocketConnNum(), 1);
  TcpListener closed;
  ASSERT_TRUE(closed.Open());
  const int port = closed.port;
  closed.fd.Reset();
  EXPECT_LT(link.OpenSocket(1, 1, LoopbackNet(), port, 0), 0);
  EXPECT_LT(link.OpenSocket(0, 1, LoopbackNet(), server.port, 0), 0);
  EXPECT_LT(link.OpenSocket(1, 2, LoopbackNet(), server.port, 0), 0);
}

TEST_F(SocketLinkTest, ConnectToFullBacklogIsBounded) {
  // A listener that never accepts and whose queue is full drops further SYNs: connect would hang.
  TcpListener full;
  ASSERT_TRUE(full.Open());
  ::listen(full.fd.Get(), 0);
  std::vector<corvane::UniqueFd> fillers;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sa.sin_port = htons(static_cast<std::uint16_t>(full.port));
  for (int i = 0; i < 8; ++i) {
    fillers.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
    ::connect(fillers.back().Get(), reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  }
  const auto start = std::chrono::steady_clock::now();
  const int r = link.OpenSocket(1, 1, LoopbackNet(), full.port, 3);  // 300 ms
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(ms, 1500);
  if (r > 0) GTEST_SKIP() << "the kernel accepted the connection into the queue";
  EXPECT_GE(ms, 250);
}

struct TcpRow {
  const char* name;
  int tidDelta;  // added to the request's transaction id
  int unit;
  Bytes pdu;
  bool closeAfter;
  int expected;
};

TEST_F(SocketLinkTest, ResponseTable) {
  const TcpRow rows[] = {
      {"good", 0, 5, {0x03, 0x04, 0x40, 0x41, 0x00, 0x00}, false, 4},
      {"wrong transaction", 1, 5, {0x03, 0x04, 0x40, 0x41, 0x00, 0x00}, false, mb::kTransaction},
      {"wrong unit", 0, 6, {0x03, 0x04, 0x40, 0x41, 0x00, 0x00}, false, mb::kStation},
      {"wrong function", 0, 5, {0x04, 0x02, 0x40, 0x41}, false, mb::kFunction},
      {"exception", 0, 5, {0x83, 0x02}, false, mb::kException},
      {"byte count above frame", 0, 5, {0x03, 0x08, 0x40, 0x41}, false, mb::kTruncated},
      {"never answers", 0, 5, {}, false, mb::kTimeout},
      {"closes mid-frame", 0, 5, {}, true, mb::kTruncated},
  };
  for (const TcpRow& row : rows) {
    SCOPED_TRACE(row.name);
    const int conn = Connect();
    const unsigned char req[] = {0x15, 0x6A, 0x00, 0x08};
    ASSERT_EQ(link.Request(1, conn, 0, 3, req, 4), 12);
    const Bytes got = ReadFor(peer.Get(), 500);
    ASSERT_EQ(got.size(), 12u);
    EXPECT_EQ(Bytes(got.begin() + 2, got.end()), (Bytes{0, 0, 0, 6, 5, 3, 0x15, 0x6A, 0, 8}));
    const int tid = (got[0] << 8 | got[1]) + row.tidDelta;
    if (!row.pdu.empty()) {
      Bytes reply{static_cast<std::uint8_t>(tid >> 8), static_cast<std::uint8_t>(tid), 0, 0, 0,
                  static_cast<std::uint8_t>(row.pdu.size() + 1), static_cast<std::uint8_t>(row.unit)};
      reply.insert(reply.end(), row.pdu.begin(), row.pdu.end());
      ASSERT_TRUE(WriteBytes(peer.Get(), reply));
    }
    if (row.closeAfter) {
      ASSERT_TRUE(WriteBytes(peer.Get(), {got[0], got[1], 0, 0}));
      peer.Reset();
    }
    unsigned char buffer[256] = {};
    int fn = 0, count = 0;
    EXPECT_EQ(link.Response(1, conn, &fn, &count, buffer), row.expected);
    if (row.expected > 0) { EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0x40, 0x41, 0x00, 0x00})); }
    link.CloseSocket(conn);
  }
}

TEST_F(SocketLinkTest, OversizedMbapLengthIsRefused) {
  const int conn = Connect();
  const unsigned char req[] = {0x00, 0x00, 0x00, 0x08};
  ASSERT_GT(link.Request(1, conn, 0, 3, req, 4), 0);
  const Bytes got = ReadFor(peer.Get(), 500);
  ASSERT_GE(got.size(), 2u);
  Bytes reply{got[0], got[1], 0, 0, 0x01, 0x04, 5, 3, 0xFF};
  reply.resize(7 + 0x104, 0xAB);
  ASSERT_TRUE(WriteBytes(peer.Get(), reply));
  unsigned char buffer[256] = {};
  EXPECT_EQ(link.Response(1, conn, nullptr, nullptr, buffer), mb::kByteCount);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(SocketLinkTest, StaleReplyIsDroppedBeforeNextRequest) {
  const int conn = Connect();
  const unsigned char req[] = {0x00, 0x00, 0x00, 0x01};
  ASSERT_GT(link.Request(1, conn, 0, 3, req, 4), 0);
  Bytes first = ReadFor(peer.Get(), 500);
  unsigned char buffer[256] = {};
  EXPECT_EQ(link.Response(1, conn, nullptr, nullptr, buffer), mb::kTimeout);
  // The late answer to the first request arrives; the second request must not take it.
  ASSERT_TRUE(WriteBytes(peer.Get(), {first[0], first[1], 0, 0, 0, 5, 5, 3, 2, 0x11, 0x11}));
  ReadFor(peer.Get(), 50);
  ASSERT_GT(link.Request(1, conn, 0, 3, req, 4), 0);
  const Bytes second = ReadFor(peer.Get(), 500);
  ASSERT_TRUE(WriteBytes(peer.Get(), {second[0], second[1], 0, 0, 0, 5, 5, 3, 2, 0x22, 0x22}));
  EXPECT_EQ(link.Response(1, conn, nullptr, nullptr, buffer), 2);
  EXPECT_EQ(buffer[0], 0x22);
}

TEST_F(SocketLinkTest, PorthubFraming) {
  const int conn = Connect();
  Bytes request(36, 0);
  request[0] = 0x04;
  request[1] = 0x05;
  EXPECT_EQ(link.SendPORTHUB(conn, 257, 9, static_cast<int>(0xC0A80105u), 20006, request.data(), 36), 52);
  const Bytes got = ReadFor(peer.Get(), 500);
  ASSERT_EQ(got.size(), 52u);
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 16),
            (Bytes{0x50, 0x48, 0x01, 0x01, 0, 0, 0, 9, 0xC0, 0xA8, 0x01, 0x05, 0x4E, 0x26, 0, 36}));
  EXPECT_EQ(Bytes(got.begin() + 16, got.end()), request);
  // A reply of 300 bytes keeps its first 256, and the next frame stays in step.
  Bytes reply{0x50, 0x48, 0x01, 0x02, 0, 0, 0, 9, 10, 0, 0, 7, 0x4E, 0x26, 0x01, 0x2C};
  reply.resize(16 + 300, 0x33);
  Bytes small{0x50, 0x48, 0x01, 0x02, 0, 0, 0, 9, 10, 0, 0, 8, 0x4E, 0x26, 0, 2, 0xAA, 0xBB};
  reply.insert(reply.end(), small.begin(), small.end());
  ASSERT_TRUE(WriteBytes(peer.Get(), reply));
  unsigned char buffer[256] = {};
  int source = 0;
  EXPECT_EQ(link.RecvPORTHUB(conn, &source, buffer), 256);
  EXPECT_EQ(source, 0x0A000007);
  EXPECT_EQ(link.RecvPORTHUB(conn, &source, buffer), 2);
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(source, 0x0A000008);
  ASSERT_TRUE(WriteBytes(peer.Get(), Bytes(16, 0x00)));  // no magic
  EXPECT_LE(link.RecvPORTHUB(conn, &source, buffer), 0);
  EXPECT_LE(link.RecvPORTHUB(conn, &source, buffer), 0);  // silence: time-out
  EXPECT_LE(link.SendPORTHUB(conn, 257, 9, 0, 20006, request.data(), 2000), 0);
}

TEST_F(SocketLinkTest, RawSocketData) {
  const int conn = Connect();
  const unsigned char hello[] = {1, 2, 3};
  EXPECT_EQ(link.SendData(1, conn, hello, 3), 3);
  EXPECT_EQ(ReadFor(peer.Get(), 500), (Bytes{1, 2, 3}));
  ASSERT_TRUE(WriteBytes(peer.Get(), {9, 8}));
  unsigned char buffer[256] = {};
  EXPECT_EQ(link.RecvData(1, conn, buffer, 256), 2);
  EXPECT_LE(link.RecvData(1, conn, buffer, 256), 0);
  EXPECT_LE(link.RecvData(1, conn + 1, buffer, 256), 0);
  EXPECT_LE(link.RecvData(7, conn, buffer, 256), 0);
}

TEST(PortLinkSerialize, SharedAreaBoundedAtItsSize) {
  CPortLink a, b;
  std::vector<unsigned char> block(CPortLink::kSerializeSize, 0x5A);
  EXPECT_EQ(a.SetSerializeData(block.data(), CPortLink::kSerializeSize), CPortLink::kSerializeSize);
  std::vector<unsigned char> out(CPortLink::kSerializeSize, 0);
  EXPECT_EQ(b.GetSerializeData(out.data()), CPortLink::kSerializeSize);  // one area for every user
  EXPECT_EQ(out, block);
  block.push_back(0x5A);
  EXPECT_LT(a.SetSerializeData(block.data(), CPortLink::kSerializeSize + 1), 0);
  EXPECT_EQ(b.GetSerializeData(out.data()), 0);  // refused: nothing stale left behind
  EXPECT_LT(a.SetSerializeData(block.data(), -1), 0);
  EXPECT_EQ(a.SetSerializeData(nullptr, 0), 0);
  EXPECT_EQ(a.GetSerializeData(out.data()), 0);
}

TEST(PortLinkCrc, MatchesModbusCheck) {
  CPortLink link;
  const unsigned char check[] = "123456789";
  EXPECT_EQ(link.GetCRC16(check, 9), 0x4B37);
  EXPECT_EQ(link.GetCRC16(check, 0), 0xFFFF);
  EXPECT_EQ(link.GetCRC16(nullptr, 5), 0xFFFF);
}

}  // namespace
