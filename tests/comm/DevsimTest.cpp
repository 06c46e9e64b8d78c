// End to end against corvane-devsim: serial Modbus and discovery on its pty, Modbus TCP, the UDP
// discovery responder through BusLink, and the PORTHUB stand-in's frames.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstring>
#include <map>
#include <sstream>

#include "libs/buslink/BusLink.h"
#include "libs/portlink/CPortLink.h"
#include "libs/portlink/ModbusFrame.h"
#include "tests/comm/PeerHelpers.h"

using namespace commtest;
namespace mb = corvane::modbus;

namespace {

const std::string kDevsim = CORVANE_BIN_DIR "/corvane-devsim";

// Runs the simulator and parses its READY line ("key=value" words).
class Devsim {
 public:
  ~Devsim() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  bool Start(std::vector<std::string> args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return false;
    args.insert(args.begin(), kDevsim);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(out[1], 1);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    corvane::UniqueFd read(out[0]);
    std::string line;
    while (line.find('\n') == std::string::npos) {
      pollfd p{read.Get(), POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) return false;
      char buf[256];
      const ssize_t r = ::read(read.Get(), buf, sizeof buf);
      if (r <= 0) return false;
      line.append(buf, static_cast<std::size_t>(r));
    }
    std::istringstream words(line.substr(0, line.find('\n')));
    std::string word;
    words >> word;
    if (word != "READY") return false;
    while (words >> word) {
      const auto eq = word.find('=');
      if (eq != std::string::npos) m_fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return true;
  }
  std::string Field(const std::string& key) const {
    auto it = m_fields.find(key);
    return it == m_fields.end() ? std::string() : it->second;
  }
  int Port(const std::string& key) const {  // "127.0.0.1:1502[,...]" or a bare number
    std::string v = Field(key);
    v = v.substr(0, v.find(','));
    const auto colon = v.find(':');
    return std::atoi(v.substr(colon == std::string::npos ? 0 : colon + 1).c_str());
  }

 private:
  pid_t m_pid = -1;
  std::map<std::string, std::string> m_fields;
};

class DevsimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::access(kDevsim.c_str(), X_OK) != 0) GTEST_SKIP() << "corvane-devsim not built";
  }
};

int Read(CPortLink& link, int type, int handle, int function, int first, int count, unsigned char* buffer) {
  const unsigned char data[] = {static_cast<unsigned char>(first >> 8), static_cast<unsigned char>(first), 0,
                                static_cast<unsigned char>(count)};
  if (link.Request(type, handle, 0, function, data, 4) <= 0) return -100;
  return link.Response(type, handle, nullptr, nullptr, buffer);
}

TEST_F(DevsimTest, SerialProbesInBothModes) {
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp", "--device", "code=0x0015 station=1 sub=0x4041,0x4042"}));
  CPortLink link;
  link.SetPortResolver([&](int) { return sim.Field("pty"); });
  link.SetStationAddr(1);
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    link.SetModbusMode(mode);
    ASSERT_EQ(link.OpenSerial(3, 9600, 8, 0, 1), 3);
    unsigned char buffer[256] = {};
    ASSERT_EQ(Read(link, 0, 3, 0x67, 0x0012, 2, buffer), 4);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0x00, 0x01, 0x00, 0x15}));
    ASSERT_EQ(Read(link, 0, 3, 3, 0x156A, 8, buffer), 16);
    EXPECT_EQ(Bytes(buffer, buffer + 6), (Bytes{0x40, 0x41, 0x40, 0x42, 0x00, 0x00}));
    link.CloseSerial(3);
  }
}

TEST_F(DevsimTest, SerialFaults) {
  const struct {
    const char* fault;
    int mode;
    int expected;
  } rows[] = {
      {"badcrc", 2, mb::kChecksum},   {"badcrc", 1, mb::kChecksum},         {"wrongstation", 2, mb::kStation},
      {"exception:2", 2, mb::kException}, {"noreply", 2, mb::kTimeout},     {"badcount", 2, mb::kTruncated},
      {"bytewise:3", 2, 16},          {"bytewise:3", 1, 16},                {"close", 2, mb::kTruncated},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.fault) + (row.mode == 1 ? " ascii" : " rtu"));
    Devsim sim;
    ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp", "--fault", row.fault}));
    CPortLink link;
    link.SetPortResolver([&](int) { return sim.Field("pty"); });
    link.SetStationAddr(1);
    link.SetModbusMode(row.mode);
    link.SetResponseTimeout(300);
    ASSERT_EQ(link.OpenSerial(1, 9600, 8, 0, 1), 1);
    unsigned char buffer[256] = {};
    const int r = Read(link, 0, 1, 3, 0x0012, 8, buffer);
    if (row.expected > 0) EXPECT_EQ(r, row.expected);
    else EXPECT_LE(r, 0) << "got " << r << " (" << mb::ResultText(r) << ")";
  }
}

TEST_F(DevsimTest, ThreeOpensInARowWhileTheSimulatorHoldsTheOtherEnd) {
  // The search opens the port, closes it, opens it raw, closes it; then a module opens it again.
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp"}));
  CPortLink link;
  link.SetPortResolver([&](int) { return sim.Field("pty"); });
  link.SetStationAddr(1);
  link.SetModbusMode(2);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(link.OpenSerial(5, 19200, 8, 2, 1), 5) << link.LastErrorText();
    unsigned char buffer[256] = {};
    EXPECT_EQ(Read(link, 0, 5, 0x67, 0x0012, 2, buffer), 4);
    link.CloseSerial(5);
  }
  CPortLink other;  // another link of the same program after the first let go
  other.SetPortResolver([&](int) { return sim.Field("pty"); });
  EXPECT_EQ(other.OpenSerialEx(5, 19200, 2), 5) << other.LastErrorText();
}

TEST_F(DevsimTest, ParityErrorFailsTheFrameAsAChecksumError) {
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode == 1 ? "ascii" : "rtu");
    Devsim sim;
    ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp", "--fault", "parity:4,count:1"}));
    CPortLink link;
    link.SetPortResolver([&](int) { return sim.Field("pty"); });
    link.SetStationAddr(1);
    link.SetModbusMode(mode);
    link.SetResponseTimeout(300);
    ASSERT_EQ(link.OpenSerial(1, 9600, mode == 1 ? 7 : 8, 2, 1), 1);
    unsigned char buffer[256] = {};
    EXPECT_EQ(Read(link, 0, 1, 3, 0x0012, 2, buffer), mb::kChecksum) << link.LastErrorText();
    // The fault hit one reply only: the line goes on.
    EXPECT_EQ(Read(link, 0, 1, 3, 0x0012, 2, buffer), 4) << link.LastErrorText();
  }
}

TEST_F(DevsimTest, SlowLineReads125RegistersWithTheDefaultResponseTime) {
  // 1200 baud 8E1: the reply of 255 bytes takes 2.34 s on the wire, the request 73 ms.
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp", "--pace", "1200:8E1", "--device", "code=0x0015 station=1"}));
  CPortLink link;
  link.SetPortResolver([&](int) { return sim.Field("pty"); });
  link.SetStationAddr(1);
  link.SetModbusMode(2);
  EXPECT_EQ(link.ResponseTimeout(), CPortLink::kDefaultResponseMs);
  ASSERT_EQ(link.OpenSerial(1, 1200, 8, 2, 1), 1);
  unsigned char buffer[256] = {};
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Read(link, 0, 1, 3, 0x0012, 125, buffer), 250) << link.LastErrorText();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(ms, 2400) << "the simulator paces the reply at the line's speed";
  EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0x00, 0x01, 0x00, 0x15}));  // the identity registers
}

TEST_F(DevsimTest, ExceptionCodeIsKeptAndNamed) {
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp", "--fault", "exception:6"}));
  CPortLink link;
  link.SetPortResolver([&](int) { return sim.Field("pty"); });
  link.SetStationAddr(1);
  link.SetModbusMode(2);
  ASSERT_EQ(link.OpenSerial(1, 9600, 8, 0, 1), 1);
  unsigned char buffer[256] = {};
  int fn = 0;
  ASSERT_GT(link.Request(0, 1, 0, 3, std::array<unsigned char, 4>{0, 0x12, 0, 2}.data(), 4), 0);
  EXPECT_EQ(link.Response(0, 1, &fn, nullptr, buffer), mb::kException);
  EXPECT_EQ(fn, 0x83);
  EXPECT_EQ(link.LastException(), 6);
  EXPECT_EQ(link.LastErrorText(), "exception 06 (server device busy)");
}

TEST_F(DevsimTest, SerialDiscoveryReply) {
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-tcp", "--no-udp", "--device", "code=0xA002 station=1 ip=127.0.0.1"}));
  CPortLink link;
  link.SetPortResolver([&](int) { return sim.Field("pty"); });
  ASSERT_EQ(link.OpenSerialEx(2, 19200, 10), 2);
  Bytes frame{0xC0, 0x04, 0x05, 0x00, 0x01};
  frame.resize(37, 0);
  frame.push_back(0xF6);
  frame.push_back(0xC0);
  ASSERT_EQ(link.SendData(0, 2, frame.data(), 39), 39);
  unsigned char buffer[256] = {};
  const int n = link.RecvData(0, 2, buffer, 256);
  ASSERT_GT(n, 100);
  EXPECT_EQ(buffer[0], 0xC0);
  EXPECT_EQ(buffer[1], 0xA0);
  EXPECT_EQ(buffer[2], 0x02);
  EXPECT_EQ(buffer[n - 1], 0xC0);
}

TEST_F(DevsimTest, ModbusTcpAndWrongTransaction) {
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-pty", "--no-udp", "--tcp-port", "0", "--device", "code=0x0022 station=1 sub=0x4041",
                         "--fault", "wrongtid,count:1"}));
  CPortLink link;
  link.SetStationAddr(1);
  const int conn = link.GetSocketConnNum();
  ASSERT_EQ(link.OpenSocket(conn, 1, LoopbackNet(), sim.Port("tcp"), 0), conn);
  unsigned char buffer[256] = {};
  EXPECT_EQ(Read(link, 1, conn, 3, 0xC608, 8, buffer), mb::kTransaction);
  ASSERT_EQ(Read(link, 1, conn, 3, 0xC608, 8, buffer), 16);
  EXPECT_EQ(buffer[0], 0x40);
  EXPECT_EQ(buffer[1], 0x41);
}

TEST_F(DevsimTest, UdpDiscoveryThroughBusLink) {
  Devsim sim;
  ASSERT_TRUE(sim.Start({"--no-pty", "--no-tcp", "--udp-port", "0", "--device", "code=0x0015 ip=127.0.0.2",
                         "--device", "code=0x0022 ip=127.0.0.3 station=2"}));
  SetHostIPAddr(LoopbackNet());
  ASSERT_GT(OpenSocket(2, LoopbackNet(), 0, sim.Port("udp"), 3), 0);
  unsigned char request[36] = {0x04, 0x05, 0x00, 0x01};
  ASSERT_EQ(SendData(request, 36), 36);
  std::vector<int> codes;
  for (int i = 0; i < 255 && ReadSelect(500) > 0; ++i) {
    unsigned char buffer[256];
    ASSERT_EQ(RecvData(buffer, 256), 100);
    codes.push_back(buffer[0] << 8 | buffer[1]);
    const std::uint32_t ip = buffer[72] | buffer[73] << 8 | buffer[74] << 16 | static_cast<std::uint32_t>(buffer[75]) << 24;
    EXPECT_EQ(ip >> 24, 127u);
  }
  CloseSocket();
  EXPECT_EQ(codes, (std::vector<int>{0x0015, 0x0022}));
}

TEST_F(DevsimTest, PorthubFrames) {
  char dir[] = "/tmp/corvane-ph-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string socketPath = std::string(dir) + "/PORTHUB";
  {
    Devsim sim;
    ASSERT_TRUE(sim.Start({"--no-pty", "--no-tcp", "--no-udp", "--porthub", "--porthub-socket", socketPath,
                           "--device", "code=0x0405 ip=127.0.0.5"}));
    CPortLink link;
    const int conn = link.GetSocketConnNum();
    ASSERT_EQ(link.OpenSocket(conn, 1, LoopbackNet(), sim.Port("porthub-port"), 0), conn);
    unsigned char request[36] = {0x04, 0x05, 0x00, 0x01};
    ASSERT_EQ(link.SendPORTHUB(conn, 257, 7, -1, 20006, request, 36), 52);
    unsigned char buffer[256] = {};
    int source = 0;
    ASSERT_EQ(link.RecvPORTHUB(conn, &source, buffer), 100);
    EXPECT_EQ(buffer[0], 0x04);
    EXPECT_EQ(buffer[1], 0x05);
    EXPECT_EQ(static_cast<std::uint32_t>(source), 0x7F000005u);
  }
  ::unlink(socketPath.c_str());
  ::rmdir(dir);
}

}  // namespace
