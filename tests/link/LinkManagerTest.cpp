#include "comm/CLinkManager.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "libs/portlink/CPortLink.h"
#include "platform/CRegStore.h"
#include "platform/IPrompts.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A pseudo-terminal whose far side stands in for a serial device.
class Pty {
public:
  Pty() {
    m_fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd >= 0 && ::grantpt(m_fd) == 0 && ::unlockpt(m_fd) == 0) m_path = ::ptsname(m_fd);
  }
  ~Pty() {
    if (m_fd >= 0) ::close(m_fd);
  }
  const std::string& Path() const { return m_path; }

private:
  int m_fd = -1;
  std::string m_path;
};

// Descriptors of this process open on `path`.
int OpenCount(const std::string& path) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (fs::read_symlink(entry.path(), error) == path) ++n;
  }
  return n;
}

class LinkManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-link-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "run");
    fs::create_directories(m_root / "data");
    fs::permissions(m_root / "run", fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (m_root / "run").c_str(), 1);
    setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
    SetPrompts(&m_prompts);
  }
  void TearDown() override {
    if (m_sim > 0) {
      ::kill(m_sim, SIGTERM);
      ::waitpid(m_sim, nullptr, 0);
    }
    SetPrompts(nullptr);
    fs::remove_all(m_root);
  }
  // The simulator's stand-in manager on our runtime folder; waits for its READY line.
  void StartManager(const std::vector<std::string>& extra) {
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    m_sim = ::fork();
    if (m_sim == 0) {
      ::dup2(out[1], 1);
      std::vector<std::string> args{CORVANE_BIN_DIR "/corvane-devsim", "--no-pty", "--no-udp", "--no-tcp", "--porthub",
                                    "--porthub-socket", (m_root / "run" / "PORTHUB").string()};
      args.insert(args.end(), extra.begin(), extra.end());
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    ASSERT_NE(line.find("READY"), std::string::npos) << line;
  }

  fs::path m_root;
  test::ScriptedPrompts m_prompts;
  CommConf m_conf;
  CPortLink m_portLink;
  pid_t m_sim = -1;
};

TEST_F(LinkManagerTest, BusLinkBesideTheExecutableLoads) {
  CLinkManager link(m_conf, m_portLink);
  EXPECT_TRUE(link.LoadBusLink(CORVANE_BIN_DIR "/"));
  EXPECT_TRUE(m_prompts.shown.empty());
  EXPECT_NE(link.Bus().GetSerializeData, nullptr);
}

TEST_F(LinkManagerTest, MissingOrIncompleteBusLinkShowsItsMessage) {
  CLinkManager absent(m_conf, m_portLink);
  EXPECT_FALSE(absent.LoadBusLink((m_root / "nowhere").string() + "/"));
  CLinkManager partial(m_conf, m_portLink);
  EXPECT_FALSE(partial.LoadBusLink(PARTIAL_BUSLINK_DIR));
  ASSERT_EQ(m_prompts.shown.size(), 2u);
  EXPECT_EQ(m_prompts.shown[0], "Can't load BusLink,\nProcess Terminate !!");
  EXPECT_EQ(m_prompts.shown[1], "SetModbusMode function not in BusLink.dll !!");
}

TEST_F(LinkManagerTest, ApplyFallsBackToTheFirstAdapterAndToNoHost) {
  CLinkManager link(m_conf, m_portLink);
  link.EnumAdapters = [](auto& names, auto& ips) {
    names = {"eth0", "wlan0"};
    ips = {"10.1.2.3", "0.0.0.0"};
  };
  m_conf.NetInterface = 2;  // equal to the count
  link.ApplyLinkSettings();
  EXPECT_EQ(m_conf.NetInterface, 0);
  EXPECT_EQ(static_cast<std::uint32_t>(m_conf.HostIPAddr), 0x0A010203u);
  m_conf.NetInterface = 1;
  link.ApplyLinkSettings();
  EXPECT_EQ(m_conf.HostIPAddr, 0);  // a disconnected adapter reports 0.0.0.0
  link.EnumAdapters = [](auto& names, auto& ips) { names.clear(); ips.clear(); };
  link.ApplyLinkSettings();
  EXPECT_EQ(m_conf.HostIPAddr, -1);
}

TEST_F(LinkManagerTest, EthernetRefusesNoAddressAndBroadcast) {
  CLinkManager link(m_conf, m_portLink);
  m_conf.CommType = 1;
  for (std::int32_t address : {0, -1}) {
    m_conf.IPAddress = address;
    EXPECT_FALSE(link.OpenLink());
  }
  ASSERT_EQ(m_prompts.shown.size(), 2u);
  EXPECT_EQ(m_prompts.shown[0], "Invalid IP Address! IP address cannot be 0.0.0.0 or 255.255.255.");
  m_conf.CommType = 7;
  EXPECT_FALSE(link.OpenLink());
  EXPECT_EQ(m_prompts.shown.size(), 2u);  // any other type: nothing, silently
}

TEST_F(LinkManagerTest, SerialPortThatIsNotATerminalGives503AndAReason) {
  const std::string plain = (m_root / "plain").string();
  std::ofstream(plain) << "x";
  std::vector<std::uint8_t> data(plain.begin(), plain.end());
  data.push_back(0);
  ASSERT_EQ(platform::CRegStore().SetValue(platform::RegRoot::LocalMachine, "SOFTWARE\\Zelmar\\Corvane\\Ports",
                                           {"COM9", platform::REG_SZ, data}),
            platform::kRegOk);
  m_portLink.SetPortResolver([&](int n) { return n == 9 ? plain : std::string(); });
  CLinkManager link(m_conf, m_portLink);
  std::vector<std::string> log;
  link.LogLine = [&](const std::string& line) { log.push_back(line); };
  m_conf.CommType = 0;
  m_conf.ComPortNum = 9;
  EXPECT_FALSE(link.OpenLink());
  ASSERT_EQ(m_prompts.shown.size(), 1u);
  EXPECT_EQ(m_prompts.shown[0], "Cannot open the specified communication!");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("not a serial device"), std::string::npos) << log[0];
  // The box keeps its text and carries the same reason beneath it.
  EXPECT_EQ(m_prompts.details[0], log[0]);
}

TEST_F(LinkManagerTest, SerialPortHeldByAnotherProcessGives503NamingIt) {
  int m = -1, sl = -1;
  char name[128] = {};
  ASSERT_EQ(::openpty(&m, &sl, name, nullptr, nullptr), 0);
  ::close(sl);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {  // another program holding the port the way serial tools do
    const int fd = ::open(name, O_RDWR | O_NOCTTY);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) ::_exit(1);
    ::write(ready[1], "x", 1);
    ::pause();
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  m_portLink.SetPortResolver([&](int) { return std::string(name); });
  CLinkManager link(m_conf, m_portLink);
  std::vector<std::string> log;
  link.LogLine = [&](const std::string& line) { log.push_back(line); };
  m_conf.CommType = 0;
  m_conf.ComPortNum = 5;
  EXPECT_FALSE(link.OpenLink());
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  ::close(m);
  ::close(ready[0]);
  ::close(ready[1]);
  ASSERT_EQ(m_prompts.shown.size(), 1u);
  EXPECT_EQ(m_prompts.shown[0], "Cannot open the specified communication!");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("COM5: "), std::string::npos) << log[0];
  EXPECT_NE(log[0].find("in use by link_tests (pid " + std::to_string(holder) + ")"), std::string::npos) << log[0];
  EXPECT_EQ(m_prompts.details[0], log[0]);  // and beneath the message
}

TEST_F(LinkManagerTest, ManagerAbsentGivesMinusOneAfterThePause) {
  CLinkManager link(m_conf, m_portLink);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.QueryPorthubPort(), -1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  m_conf.CommType = 2;
  EXPECT_FALSE(link.OpenLink());
  ASSERT_EQ(m_prompts.shown.size(), 1u);
  EXPECT_EQ(m_prompts.shown[0], "Cannot open the specified communication!");
}

TEST_F(LinkManagerTest, ManagerAnswersItsPortAndAZeroIsRefused) {
  StartManager({"--porthub-port", "0"});
  CLinkManager link(m_conf, m_portLink);
  const int port = link.QueryPorthubPort();
  EXPECT_GT(port, 0);
  EXPECT_EQ(m_conf.PorthubPort, port);
  m_conf.CommType = 2;
  CLink opened = link.OpenLink();
  EXPECT_EQ(opened.Type(), LinkType::Manager);
  EXPECT_GT(opened.Handle(), 0);
  opened.Close();
  EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(LinkManagerTest, ManagerAnsweringZeroIsNoUsablePort) {
  StartManager({"--porthub-answer", "0"});
  CLinkManager link(m_conf, m_portLink);
  EXPECT_EQ(link.QueryPorthubPort(), 0);
  m_conf.CommType = 2;
  EXPECT_FALSE(link.OpenLink());
  EXPECT_EQ(m_prompts.shown.size(), 1u);
}

TEST_F(LinkManagerTest, ALinkClosesWhatItOpenedWhateverTheSettingsSayThen) {
  Pty pty, other;  // a line once closed stays exclusive while its pty lives: the second open takes another
  ASSERT_FALSE(pty.Path().empty());
  ASSERT_FALSE(other.Path().empty());
  m_portLink.SetPortResolver([&](int n) { return n == 7 ? pty.Path() : n == 8 ? other.Path() : std::string(); });
  CLinkManager link(m_conf, m_portLink);
  m_conf.CommType = 0;
  m_conf.ComPortNum = 7;
  m_conf.DataLen = 8;
  m_conf.Parity = 0;
  const int before = OpenCount(pty.Path());
  {
    CLink serial = link.OpenLink();
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial.Type(), LinkType::Serial);
    EXPECT_EQ(serial.Handle(), 7);
    EXPECT_EQ(OpenCount(pty.Path()), before + 1);
    m_conf.CommType = 1;  // the settings change while it is open
    CLink moved = std::move(serial);
    EXPECT_FALSE(serial);
    EXPECT_EQ(serial.Handle(), -1);
    EXPECT_EQ(OpenCount(pty.Path()), before + 1);
  }  // the serial line closes, though the settings now name Ethernet
  EXPECT_EQ(OpenCount(pty.Path()), before);

  m_conf.CommType = 0;
  m_conf.ComPortNum = 8;
  CLink again = link.OpenLink();
  EXPECT_EQ(OpenCount(other.Path()), 1);
  again = CLink{};  // replacing an open link closes it
  EXPECT_EQ(OpenCount(other.Path()), 0);
  EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(LinkManagerTest, LentHandlesCloseAsWhatTheyWereOpenedAs) {
  StartManager({"--porthub-port", "0"});
  Pty pty;
  ASSERT_FALSE(pty.Path().empty());
  m_portLink.SetPortResolver([&](int n) { return n == 1 ? pty.Path() : std::string(); });
  CLinkManager link(m_conf, m_portLink);
  m_conf.ComPortNum = 1;
  m_conf.DataLen = 8;
  m_conf.Parity = 0;
  const int before = OpenCount(pty.Path());
  m_conf.CommType = 0;
  const int serial = link.Lend(link.OpenLink());
  m_conf.CommType = 2;
  const int socket = link.Lend(link.OpenLink());
  ASSERT_EQ(serial, 1);  // COM1
  ASSERT_EQ(socket, 1);  // the first connection number
  EXPECT_GE(m_portLink.WaitReadable(2, 1, 0), 0);

  m_conf.CommType = 0;
  link.CloseLent(1);  // the latest: the manager's socket, though the settings name a serial link
  EXPECT_LT(m_portLink.WaitReadable(2, 1, 0), 0);
  EXPECT_EQ(OpenCount(pty.Path()), before + 1);
  link.CloseLent(1);
  EXPECT_EQ(OpenCount(pty.Path()), before);
  link.CloseLent(1);  // nothing left under that handle
  EXPECT_EQ(link.Lend(CLink{}), -1);
}

TEST_F(LinkManagerTest, BusLinksDatagramSocketIsALink) {
  CLinkManager link(m_conf, m_portLink);
  ASSERT_TRUE(link.LoadBusLink(CORVANE_BIN_DIR "/"));
  CLink socket = link.OpenDatagramSocket(0x7F000001, 20006);
  ASSERT_TRUE(socket);
  EXPECT_EQ(socket.What(), CLink::Opened::BusLinkDatagram);
  EXPECT_EQ(socket.WaitReadable(0), 0);
  socket.Close();
  EXPECT_LT(link.Bus().ReadSelect(0), 0);  // BusLink holds nothing open any more
}

TEST_F(LinkManagerTest, ModbusTcpToADeviceThatRefusesSaysWhere) {
  CLinkManager link(m_conf, m_portLink);
  std::vector<std::string> log;
  link.LogLine = [&](const std::string& line) { log.push_back(line); };
  EXPECT_FALSE(link.OpenModbusTcp(0x7F000A0B, "ModA: "));  // 127.0.10.11: nothing listens there
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "ModA: Modbus TCP connection to 127.0.10.11 port 502 was refused or timed out");
  EXPECT_TRUE(m_prompts.shown.empty());
}

}  // namespace
}  // namespace corvane
