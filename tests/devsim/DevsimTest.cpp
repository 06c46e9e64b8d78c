// Starts the real corvane-devsim and talks to it over loopback sockets and its pty.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <sched.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DevsimProcess.h"

using namespace devsim_test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class DevsimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/devsim-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    m_home = tmpl;
  }
  void TearDown() override {
    for (int fd : m_fds) close(fd);
    std::error_code ec;
    fs::remove_all(m_home, ec);
  }
  // The usual options: no fixed ports, so tests never collide.
  bool Run(std::vector<std::string> args) {
    args.insert(args.end(), {"--tcp-port", "0", "--udp-port", "0"});
    return m_sim.Start(args, m_home);
  }
  int Keep(int fd) {
    if (fd >= 0) m_fds.push_back(fd);
    return fd;
  }
  Bytes TcpExchange(const Bytes& request, std::size_t want, std::chrono::milliseconds limit, bool* closed = nullptr) {
    const int fd = Keep(ConnectTcp(m_sim.Field("tcp")));
    EXPECT_GE(fd, 0);
    EXPECT_TRUE(SendAll(fd, request));
    return ReadFor(fd, want, limit, closed);
  }
  std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  std::string m_home;
  DevsimProcess m_sim;
  std::vector<int> m_fds;
};

const Bytes kIdentityTcp{0x12, 0x34, 0, 0, 0, 6, 0x01, 0x03, 0x00, 0x12, 0x00, 0x02};

TEST_F(DevsimTest, TcpReadsSubModuleRegisters) {
  ASSERT_TRUE(Run({"--no-pty", "--device", "code=0x0015 station=1 ip=127.0.0.2 sub=0x4041,0x4042"}));
  EXPECT_EQ(m_sim.Field("tcp").rfind("127.0.0.2:", 0), 0u) << m_sim.ReadyLine();
  const Bytes reply = TcpExchange({0x00, 0x07, 0, 0, 0, 6, 0x01, 0x03, 0x15, 0x6A, 0x00, 0x08}, 25, 2s);
  const Bytes expected{0x00, 0x07, 0, 0, 0, 19, 0x01, 0x03, 16, 0x40, 0x41, 0x40, 0x42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Hex(reply), Hex(expected));
}

TEST_F(DevsimTest, TcpIdentityFunctionAndUnknownFunction) {
  ASSERT_TRUE(Run({"--no-pty", "--device", "code=0xA002 station=5 ip=127.0.0.3"}));
  const int fd = Keep(ConnectTcp(m_sim.Field("tcp")));
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(SendAll(fd, {0, 1, 0, 0, 0, 6, 5, 0x67, 0x00, 0x12, 0x00, 0x02}));
  EXPECT_EQ(Hex(ReadFor(fd, 13, 2s)), Hex({0, 1, 0, 0, 0, 7, 5, 0x67, 4, 0x00, 0x01, 0xA0, 0x02}));
  ASSERT_TRUE(SendAll(fd, {0, 2, 0, 0, 0, 2, 5, 0x11}));  // report server id: not served
  EXPECT_EQ(Hex(ReadFor(fd, 9, 2s)), Hex({0, 2, 0, 0, 0, 3, 5, 0x91, 0x01}));
}

TEST_F(DevsimTest, RtuOnPtyAnswersIdentityAndKnownCrcRequest) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--mode", "rtu", "--device", "code=0x0015 station=1 reg=0x0000:0x1234"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  // 01 03 00 00 00 01 with its well-known CRC 84 0A.
  ASSERT_TRUE(SendAll(fd, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
  EXPECT_EQ(Hex(ReadFor(fd, 7, 2s)), Hex(Rtu({0x01, 0x03, 0x02, 0x12, 0x34})));
  ASSERT_TRUE(SendAll(fd, Rtu({0x01, 0x67, 0x00, 0x12, 0x00, 0x02})));
  EXPECT_EQ(Hex(ReadFor(fd, 9, 2s)), Hex(Rtu({0x01, 0x67, 0x04, 0x00, 0x01, 0x00, 0x15})));
}

TEST_F(DevsimTest, RtuStationZeroProbeReadsC608ForCode0022) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--device", "code=0x0022 station=9 sub=0x4041"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(SendAll(fd, Rtu({0x00, 0x03, 0xC6, 0x08, 0x00, 0x02})));
  EXPECT_EQ(Hex(ReadFor(fd, 9, 2s)), Hex(Rtu({0x00, 0x03, 0x04, 0x40, 0x41, 0x00, 0x00})));
}

TEST_F(DevsimTest, RtuWithBadCrcGetsNoAnswer) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(SendAll(fd, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0B}));
  EXPECT_TRUE(ReadFor(fd, 1, 300ms).empty());
  // The line recovers after the silence: a good frame is answered.
  ASSERT_TRUE(SendAll(fd, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
  EXPECT_EQ(ReadFor(fd, 7, 2s).size(), 7u);
}

TEST_F(DevsimTest, AsciiOnPtyAnswersIdentity) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--mode", "ascii", "--device", "code=0x0015 station=1"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  const std::string request = ":01670012000284\r\n";
  ASSERT_TRUE(SendAll(fd, Bytes(request.begin(), request.end())));
  const Bytes reply = ReadFor(fd, 19, 2s);
  EXPECT_EQ(std::string(reply.begin(), reply.end()), ":016704000100157E\r\n");
  // A wrong LRC is not answered.
  const std::string bad = ":01670012000285\r\n";
  ASSERT_TRUE(SendAll(fd, Bytes(bad.begin(), bad.end())));
  EXPECT_TRUE(ReadFor(fd, 1, 300ms).empty());
}

TEST_F(DevsimTest, SlipDiscoveryOnPtyEscapesEndAndEsc) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--device", "code=0x0405 station=1 ip=192.219.0.7"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  Bytes request{0xC0, 0x04, 0x05, 0x00, 0x01};
  request.insert(request.end(), 32, 0);
  request.insert(request.end(), {0xF6, 0xC0});
  ASSERT_EQ(request.size(), 39u);
  ASSERT_TRUE(SendAll(fd, request));
  Bytes expected{0xC0, 0x04, 0x05, 0x00, 0x02, 0x01};
  expected.insert(expected.end(), 67, 0);                       // bytes 5..71
  expected.insert(expected.end(), {0x07, 0x00, 0xDB, 0xDD, 0xDB, 0xDC});  // 72..75: 07 00 DB C0
  expected.insert(expected.end(), 24, 0);                       // 76..99
  expected.insert(expected.end(), {0x52, 0xC0});  // check: -(0x04+0x05+0x02+0x01+0x07+0xDB+0xC0)
  EXPECT_EQ(Hex(ReadFor(fd, expected.size(), 2s)), Hex(expected));
}

TEST_F(DevsimTest, SlipRequestWithWrongCheckByteIsIgnored) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  Bytes request{0xC0, 0x04, 0x05, 0x00, 0x01};
  request.insert(request.end(), 32, 0);
  request.insert(request.end(), {0xF7, 0xC0});
  ASSERT_TRUE(SendAll(fd, request));
  EXPECT_TRUE(ReadFor(fd, 1, 300ms).empty());
}

std::vector<Bytes> UdpDiscover(const std::string& hostPort, std::chrono::milliseconds quiet) {
  const int fd = UdpSocket();
  sockaddr_in to{};
  to.sin_family = AF_INET;
  const auto colon = hostPort.rfind(':');
  to.sin_port = htons(static_cast<std::uint16_t>(std::atoi(hostPort.c_str() + colon + 1)));
  inet_pton(AF_INET, hostPort.substr(0, colon).c_str(), &to.sin_addr);
  Bytes request(36, 0);
  request[0] = 0x04;
  request[1] = 0x05;
  request[3] = 0x01;
  sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  std::vector<Bytes> replies;
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, replies.empty() ? 2000 : static_cast<int>(quiet.count())) <= 0) break;
    std::uint8_t buf[2048];
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n < 0) break;
    replies.emplace_back(buf, buf + n);
  }
  close(fd);
  return replies;
}

TEST_F(DevsimTest, UdpDiscoveryAnswersOncePerDevice) {
  ASSERT_TRUE(Run({"--no-pty", "--no-tcp", "--device", "code=0x0015 ip=127.0.0.2", "--device",
                   "code=0x0405 station=2 ip=10.1.2.3"}));
  const auto replies = UdpDiscover(m_sim.Field("udp"), 300ms);
  ASSERT_EQ(replies.size(), 2u);
  for (const Bytes& r : replies) ASSERT_EQ(r.size(), 100u);
  EXPECT_EQ(Hex({replies[0][0], replies[0][1], replies[0][72], replies[0][73], replies[0][74], replies[0][75]}),
            "00 15 02 00 00 7F");
  EXPECT_EQ(Hex({replies[1][0], replies[1][1], replies[1][72], replies[1][73], replies[1][74], replies[1][75]}),
            "04 05 03 02 01 0A");
}

TEST_F(DevsimTest, LateUdpDeviceDoesNotHoldBackAPromptOne) {
  ASSERT_TRUE(Run({"--no-pty", "--no-tcp", "--device", "code=0x0001 fault=late:500", "--device", "code=0x0002"}));
  const auto start = Clock::now();
  const auto replies = UdpDiscover(m_sim.Field("udp"), 800ms);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0][1], 0x02);
  EXPECT_EQ(replies[1][1], 0x01);
  EXPECT_GE(Clock::now() - start, 500ms);
}

// In a network namespace of its own: the responder bound to 0.0.0.0 answers a broadcast.
// Exit codes of the child: 0 answered, 77 no namespace allowed here, others a failure step.
int BroadcastInOwnNamespace(const std::string& home) {
  if (unshare(CLONE_NEWNET) != 0) return 77;
  if (std::system("ip link set lo up && ip route add 255.255.255.255/32 dev lo") != 0) return 2;
  DevsimProcess sim;
  if (!sim.Start({"--no-pty", "--no-tcp", "--udp-bind", "0.0.0.0", "--udp-port", "0", "--device",
                  "code=0x0405 ip=127.0.0.9"},
                 home))
    return 3;
  const std::string field = sim.Field("udp");
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(std::atoi(field.c_str() + field.rfind(':') + 1)));
  to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
  Bytes request(36, 0);
  request[0] = 0x04;
  request[1] = 0x05;
  if (sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) != 36) return 4;
  const Bytes reply = ReadFor(fd, 100, 2s);
  if (reply.size() != 100 || reply[0] != 0x04 || reply[1] != 0x05 || reply[72] != 9) return 5;
  return sim.Stop() == 0 ? 0 : 6;
}

TEST_F(DevsimTest, BroadcastDiscoveryInsideANamespace) {
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) _exit(BroadcastInOwnNamespace(m_home));
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no network namespace allowed here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

struct UdpFaultRow {
  const char* fault;
  std::size_t count;
  std::size_t size;
};

class DevsimUdpFaultTest : public DevsimTest, public ::testing::WithParamInterface<UdpFaultRow> {};

TEST_P(DevsimUdpFaultTest, RepliesAsAsked) {
  ASSERT_TRUE(Run({"--no-pty", "--no-tcp", "--fault", GetParam().fault}));
  const auto replies = UdpDiscover(m_sim.Field("udp"), 500ms);
  ASSERT_EQ(replies.size(), GetParam().count);
  for (const Bytes& r : replies) EXPECT_EQ(r.size(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Rows, DevsimUdpFaultTest,
                         ::testing::Values(UdpFaultRow{"udpsize:3", 1, 3}, UdpFaultRow{"udpsize:300", 1, 300},
                                           UdpFaultRow{"udpcopies:300", 300, 100}, UdpFaultRow{"noreply", 0, 0}));

struct TcpFaultRow {
  const char* fault;
  Bytes expected;
  bool closed;
  int minMs;
};

class DevsimTcpFaultTest : public DevsimTest, public ::testing::WithParamInterface<TcpFaultRow> {};

TEST_P(DevsimTcpFaultTest, ReplyShowsTheFault) {
  const TcpFaultRow& row = GetParam();
  ASSERT_TRUE(Run({"--no-pty", "--no-udp", "--device", std::string("code=0x0015 ip=127.0.0.4 fault=") + row.fault}));
  bool closed = false;
  const auto start = Clock::now();
  const Bytes reply = TcpExchange(kIdentityTcp, row.expected.empty() ? 1 : 64, row.expected.empty() ? 400ms : 1500ms, &closed);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(Hex(reply), Hex(row.expected));
  EXPECT_EQ(closed, row.closed);
  EXPECT_GE(ms, row.minMs);
}

const Bytes kGood{0x12, 0x34, 0, 0, 0, 7, 0x01, 0x03, 4, 0x00, 0x01, 0x00, 0x15};

INSTANTIATE_TEST_SUITE_P(
    Rows, DevsimTcpFaultTest,
    ::testing::Values(
        TcpFaultRow{"wrongtid", {0x12, 0x35, 0, 0, 0, 7, 0x01, 0x03, 4, 0x00, 0x01, 0x00, 0x15}, false, 0},
        TcpFaultRow{"wrongstation", {0x12, 0x34, 0, 0, 0, 7, 0x02, 0x03, 4, 0x00, 0x01, 0x00, 0x15}, false, 0},
        TcpFaultRow{"exception:2", {0x12, 0x34, 0, 0, 0, 3, 0x01, 0x83, 0x02}, false, 0},
        TcpFaultRow{"badcount", {0x12, 0x34, 0, 0, 0, 7, 0x01, 0x03, 6, 0x00, 0x01, 0x00, 0x15}, false, 0},
        TcpFaultRow{"noreply", {}, false, 0},
        TcpFaultRow{"close", {0x12, 0x34, 0, 0, 0, 7}, true, 0},
        TcpFaultRow{"bytewise:20", kGood, false, 12 * 20},
        TcpFaultRow{"late:600", kGood, false, 590}));

TEST_F(DevsimTest, FaultCountHitsOnlyTheFirstReplies) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--fault", "exception:4,count:1"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  const Bytes request = Rtu({0x01, 0x03, 0x00, 0x12, 0x00, 0x01});
  ASSERT_TRUE(SendAll(fd, request));
  EXPECT_EQ(Hex(ReadFor(fd, 5, 2s)), Hex(Rtu({0x01, 0x83, 0x04})));
  ASSERT_TRUE(SendAll(fd, request));
  EXPECT_EQ(Hex(ReadFor(fd, 7, 2s)), Hex(Rtu({0x01, 0x03, 0x02, 0x00, 0x01})));
}

TEST_F(DevsimTest, RtuBadCrcFault) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--fault", "badcrc"}));
  const int fd = Keep(OpenPty(m_sim.Field("pty")));
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(SendAll(fd, Rtu({0x01, 0x03, 0x00, 0x12, 0x00, 0x01})));
  const Bytes reply = ReadFor(fd, 7, 2s);
  const Bytes good = Rtu({0x01, 0x03, 0x02, 0x00, 0x01});
  ASSERT_EQ(reply.size(), 7u);
  EXPECT_EQ(Hex(Bytes(reply.begin(), reply.begin() + 5)), Hex(Bytes(good.begin(), good.begin() + 5)));
  EXPECT_NE(Hex(reply), Hex(good));
}

TEST_F(DevsimTest, ConfigFileDefinesDevicesAndOptions) {
  const std::string file = m_home + "/devices.txt";
  std::ofstream(file) << "# two devices\n"
                         "device code=0x0017 station=2 ip=127.0.0.5\n"
                         "\n"
                         "--no-pty --no-udp\n";
  ASSERT_TRUE(Run({"--config", file}));
  EXPECT_EQ(m_sim.Field("pty"), "");
  const Bytes reply = TcpExchange({0, 9, 0, 0, 0, 6, 2, 0x67, 0x00, 0x12, 0x00, 0x02}, 13, 2s);
  EXPECT_EQ(Hex(reply), Hex({0, 9, 0, 0, 0, 7, 2, 0x67, 4, 0x00, 0x01, 0x00, 0x17}));
}

TEST_F(DevsimTest, RegistersComPortKeepingOtherContentAndLinksThePty) {
  const std::string dir = m_home + "/Zelmar Industrial Automation";
  fs::create_directories(dir);
  const std::string store = dir + "/system.reg";
  std::ofstream(store) << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\"Keep\"=\"yes\"\n\n"
                          "[hkey_local_machine\\software\\zelmar\\corvane\\ports]\n\"COM3\"=\"/dev/ttyS9\"\n";
  const std::string link = m_home + "/ttyDEVSIM";
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--com", "7", "--link", link}));
  const std::string pty = m_sim.Field("pty");
  const std::string text = ReadText(store);
  EXPECT_NE(text.find("\"Keep\"=\"yes\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"COM3\"=\"/dev/ttyS9\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"COM7\"=\"" + pty + "\""), std::string::npos) << text;
  EXPECT_EQ(fs::read_symlink(link).string(), pty);

  EXPECT_EQ(m_sim.Stop(), 0);
  const std::string after = ReadText(store);
  EXPECT_EQ(after.find("COM7"), std::string::npos) << after;
  EXPECT_NE(after.find("\"COM3\"=\"/dev/ttyS9\""), std::string::npos) << after;
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(DevsimTest, ExitLeavesAComEntryThatNamesAnotherPort) {
  ASSERT_TRUE(Run({"--no-tcp", "--no-udp", "--com", "4"}));
  const std::string store = m_home + "/Zelmar Industrial Automation/system.reg";
  std::string text = ReadText(store);
  const std::string mine = "\"" + m_sim.Field("pty") + "\"";
  const auto at = text.find(mine);
  ASSERT_NE(at, std::string::npos) << text;
  text.replace(at, mine.size(), "\"/dev/ttyNEWER\"");  // a later simulator took COM4
  std::ofstream(store, std::ios::trunc) << text;
  EXPECT_EQ(m_sim.Stop(), 0);
  EXPECT_NE(ReadText(store).find("\"COM4\"=\"/dev/ttyNEWER\""), std::string::npos) << ReadText(store);
}

int ListenUnix(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 4) != 0) return -1;
  return fd;
}

int ConnectUnix(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return -1;
  return fd;
}

TEST_F(DevsimTest, PorthubAnswers1224WithItsPort) {
  ASSERT_TRUE(Run({"--no-pty", "--no-tcp", "--no-udp", "--porthub"}));
  EXPECT_EQ(m_sim.Field("porthub"), m_home + "/PORTHUB");
  const std::string replyPath = m_home + "/frame.sock";
  const int frame = Keep(ListenUnix(replyPath));
  ASSERT_GE(frame, 0);
  const int req = Keep(ConnectUnix(m_sim.Field("porthub")));
  ASSERT_GE(req, 0);
  const std::string line = "1224 " + replyPath + "\n";
  ASSERT_TRUE(SendAll(req, Bytes(line.begin(), line.end())));
  bool closed = false;
  ReadFor(req, 1, 2s, &closed);
  EXPECT_TRUE(closed);  // the request is handled once its connection ends
  pollfd p{frame, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 0), 1);  // the answer was already there
  const int answer = Keep(accept(frame, nullptr, nullptr));
  const Bytes text = ReadFor(answer, 64, 1s);
  EXPECT_EQ(std::string(text.begin(), text.end()), "1225 " + m_sim.Field("porthub-port") + "\n");
  EXPECT_GE(Keep(ConnectTcp("127.0.0.1:" + m_sim.Field("porthub-port"))), 0);
}

Bytes ManagerDiscovery(std::uint32_t target) {
  Bytes f{0x50, 0x48, 0x01, 0x01, 0x00, 0x00, 0x00, 0x07};
  for (int i = 3; i >= 0; --i) f.push_back(static_cast<std::uint8_t>(target >> (8 * i)));
  f.insert(f.end(), {0x4E, 0x26, 0x00, 36, 0x04, 0x05, 0x00, 0x01});
  f.insert(f.end(), 32, 0);
  return f;
}

TEST_F(DevsimTest, ManagerLinkAnswersDiscoveryFrames) {
  ASSERT_TRUE(Run({"--no-pty", "--no-tcp", "--no-udp", "--porthub", "--device", "code=0x0015 ip=127.0.0.2",
                   "--device", "code=0xA002 ip=10.0.0.9"}));
  const int fd = Keep(ConnectTcp("127.0.0.1:" + m_sim.Field("porthub-port")));
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(SendAll(fd, ManagerDiscovery(0xFFFFFFFF)));
  const Bytes both = ReadFor(fd, 2 * 116, 2s);
  ASSERT_EQ(both.size(), 2u * 116);
  EXPECT_EQ(Hex(Bytes(both.begin(), both.begin() + 18)), "50 48 01 01 00 00 00 07 7F 00 00 02 4E 26 00 64 00 15");
  EXPECT_EQ(Hex(Bytes(both.begin() + 116, both.begin() + 134)),
            "50 48 01 01 00 00 00 07 0A 00 00 09 4E 26 00 64 A0 02");
  // Aimed at one address, only that device answers.
  ASSERT_TRUE(SendAll(fd, ManagerDiscovery(0x0A000009)));
  const Bytes one = ReadFor(fd, 2 * 116, 500ms);
  ASSERT_EQ(one.size(), 116u);
  EXPECT_EQ(one[16], 0xA0);
  // A frame without the magic ends the link.
  ASSERT_TRUE(SendAll(fd, Bytes(16, 0x11)));
  bool closed = false;
  ReadFor(fd, 1, 2s, &closed);
  EXPECT_TRUE(closed);
}

TEST_F(DevsimTest, SilentPorthubNeverAnswers) {
  ASSERT_TRUE(Run({"--no-pty", "--no-tcp", "--no-udp", "--porthub-silent"}));
  const std::string replyPath = m_home + "/frame.sock";
  const int frame = Keep(ListenUnix(replyPath));
  const int req = Keep(ConnectUnix(m_sim.Field("porthub")));
  ASSERT_GE(req, 0);
  const std::string line = "1224 " + replyPath + "\n";
  ASSERT_TRUE(SendAll(req, Bytes(line.begin(), line.end())));
  bool closed = false;
  ReadFor(req, 1, 2s, &closed);
  EXPECT_TRUE(closed);
  pollfd p{frame, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 200), 0);
}

TEST_F(DevsimTest, ExitsCleanlyOnSigterm) {
  ASSERT_TRUE(Run({"--porthub"}));
  EXPECT_EQ(m_sim.Stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_home + "/PORTHUB")));
}

class DevsimBadOptionTest : public DevsimTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(DevsimBadOptionTest, RefusedWithStatus2) {
  EXPECT_FALSE(m_sim.Start(GetParam(), m_home));
  EXPECT_EQ(m_sim.WaitExit(5s), 2);
}

INSTANTIATE_TEST_SUITE_P(Rows, DevsimBadOptionTest,
                         ::testing::Values(std::vector<std::string>{"--bogus"},
                                           std::vector<std::string>{"--device", "code=0x10000"},
                                           std::vector<std::string>{"--device", "sub=1,2,3,4,5,6,7,8,9"},
                                           std::vector<std::string>{"--fault", "explode"},
                                           std::vector<std::string>{"--tcp-port", "70000"},
                                           std::vector<std::string>{"--config", "/nonexistent/devsim.txt"}));

}  // namespace
