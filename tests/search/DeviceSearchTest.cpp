// The search against corvane-devsim as the device, through the real libraries: a pty for
// the serial branch, loopback addresses for Ethernet.
#include "discovery/CDeviceSearch.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>

#include "comm/CLinkManager.h"
#include "libs/portlink/CPortLink.h"
#include "platform/IPrompts.h"
#include "resources/CStringTable.h"
#include "tests/search/FakeSearchHost.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// The simulator in its own process; the fields of its READY line.
class DevSim {
public:
  explicit DevSim(std::vector<std::string> args) {
    int out[2];
    if (::pipe(out) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(out[1], 1);
      args.insert(args.begin(), CORVANE_BIN_DIR "/corvane-devsim");
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') m_ready += c;
    ::close(out[0]);
  }
  ~DevSim() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  bool Ready() const { return m_ready.rfind("READY", 0) == 0; }
  std::string Field(const std::string& key) const {
    std::istringstream in(m_ready);
    for (std::string word; in >> word;)
      if (word.rfind(key + "=", 0) == 0) return word.substr(key.size() + 1);
    return {};
  }
  const std::string& ReadyLine() const { return m_ready; }

private:
  pid_t m_pid = -1;
  std::string m_ready;
};

using FakeHost = test::FakeSearchHost;

class SearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetPrompts(&m_prompts);
    ASSERT_TRUE(m_link.LoadBusLink(CORVANE_BIN_DIR "/"));
    m_link.EnumAdapters = [](auto& n, auto& i) { n = {"lo"}; i = {"127.0.0.1"}; };
  }
  void TearDown() override { SetPrompts(nullptr); }

  void UseSerial(const std::string& pty, int mode) {
    m_portLink.SetPortResolver([pty](int n) { return n == 5 ? pty : std::string(); });
    m_conf.CommType = 0;
    m_conf.ComPortNum = 5;
    m_conf.ModbusMode = mode;
    m_conf.BaudRate = 19200;
    m_conf.DataLen = mode == 0 ? 7 : 8;
    m_conf.Parity = 2;
    m_conf.StopBits = 1;
    m_link.ApplyLinkSettings();
  }
  void UseEthernet(std::uint32_t target) {
    m_conf.CommType = 1;
    m_conf.ModbusMode = 1;
    m_conf.IPAddress = static_cast<std::int32_t>(target);
    m_link.ApplyLinkSettings();
  }

  test::ScriptedPrompts m_prompts;
  CommConf m_conf;
  CPortLink m_portLink;
  CLinkManager m_link{m_conf, m_portLink};
};

const std::set<std::string> kCatalogue{"0015", "0022", "1234", "4041", "4042", "0405"};

TEST_F(SearchTest, SerialIdentityAndSubModulesOpenTheirModules) {
  for (int mode : {0, 1}) {
    DevSim sim({"--no-tcp", "--no-udp", "--device", "code=0x0015 station=1 sub=0x4041"});
    ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
    UseSerial(sim.Field("pty"), mode);
    FakeHost host(kCatalogue);
    CDeviceSearch search(m_link, host);
    EXPECT_TRUE(search.SearchDevices()) << "mode " << mode;
    EXPECT_EQ(host.opened, (std::vector<std::string>{"0015", "4041"})) << "mode " << mode;
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.progress, 0);  // the progress window closed again
    EXPECT_EQ(search.Replies().Code(0), 0x0015);  // the SLIP discovery reply on the same line
  }
}

TEST_F(SearchTest, SerialDiscoveryReplyWithEscapedBytesDecodes) {
  // Code 0x00C0 and address 127.0.0.219 put 0xC0 and 0xDB into the reply: on the line they
  // travel as DB DC and DB DD, and the search must see the bytes themselves.
  DevSim sim({"--no-tcp", "--no-udp", "--device", "code=0x00C0 station=1 ip=127.0.0.219"});
  ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
  UseSerial(sim.Field("pty"), 1);
  FakeHost host({"00C0"});
  CDeviceSearch search(m_link, host);
  EXPECT_TRUE(search.SearchDevices());
  EXPECT_EQ(search.Replies().Code(0), 0x00C0);
  EXPECT_EQ(search.Replies().Address(0), 0x7F0000DBu);
  EXPECT_EQ(host.opened, (std::vector<std::string>{"00C0"}));
}

TEST_F(SearchTest, Code0022SwitchesTheSubModuleProbe) {
  DevSim sim({"--no-tcp", "--no-udp", "--device", "code=0x0022 station=1 sub=0x4042"});
  ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
  UseSerial(sim.Field("pty"), 1);
  FakeHost host(kCatalogue);
  CDeviceSearch search(m_link, host);
  EXPECT_TRUE(search.SearchDevices());
  // Not from the identity probe; 4042 came from registers 0xC608, 0022 from the discovery reply.
  EXPECT_EQ(host.tried.front(), "4042");
  EXPECT_EQ(host.opened, (std::vector<std::string>{"4042", "0022"}));
}

TEST_F(SearchTest, NoAnswerGivesOneNotFoundLine) {
  DevSim sim({"--no-tcp", "--no-udp", "--fault", "noreply"});
  ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
  UseSerial(sim.Field("pty"), 0);
  FakeHost host(kCatalogue);
  CDeviceSearch search(m_link, host);
  EXPECT_FALSE(search.SearchDevices());
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0], "Device not found! Please check the device connection.");
  EXPECT_TRUE(host.opened.empty());
}

TEST_F(SearchTest, EthernetOpensEveryCodeAndOnlyCardSubModules) {
  if (::geteuid() != 0) GTEST_SKIP() << "the sub-module query uses Modbus TCP port 502, which needs root";
  DevSim sim({"--no-pty", "--udp-bind", "127.0.0.21", "--tcp-port", "502",
              "--device", "code=0x0015 station=1 ip=127.0.0.22 sub=0x4041,0x0001,0x4042,0,0x4041",
              "--device", "code=0x0022 station=1 ip=127.0.0.23 sub=0x4041",
              "--device", "code=0x1234 station=1 ip=127.0.0.24"});
  ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
  UseEthernet(0x7F000015);  // 127.0.0.21
  FakeHost host(kCatalogue);
  CDeviceSearch search(m_link, host);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(search.SearchDevices());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  std::set<std::string> opened(host.opened.begin(), host.opened.end());
  EXPECT_EQ(opened, (std::set<std::string>{"0015", "0022", "1234", "4041", "4042"}));
  EXPECT_EQ(std::count(host.tried.begin(), host.tried.end(), "0001"), 0);  // skipped, not opened
}

TEST_F(SearchTest, EthernetFaultsEndTheSearchAndKeepWhatWasFound) {
  if (::geteuid() != 0) GTEST_SKIP() << "the sub-module query uses Modbus TCP port 502, which needs root";
  // One device refuses Modbus TCP (no listener on its address), one sends 3-byte replies.
  DevSim sim({"--no-pty", "--udp-bind", "127.0.0.31", "--no-tcp",
              "--device", "code=0x0015 station=1 ip=127.0.0.32"});
  ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
  UseEthernet(0x7F00001F);
  FakeHost host(kCatalogue);
  CDeviceSearch search(m_link, host);
  EXPECT_TRUE(search.SearchDevices());
  EXPECT_EQ(host.opened, (std::vector<std::string>{"0015"}));

  DevSim many({"--no-pty", "--udp-bind", "127.0.0.33", "--no-tcp", "--fault", "udpcopies:300",
               "--device", "code=0x0405 station=1 ip=127.0.0.34"});
  ASSERT_TRUE(many.Ready()) << many.ReadyLine();
  UseEthernet(0x7F000021);
  FakeHost host2(kCatalogue);
  CDeviceSearch search2(m_link, host2);
  EXPECT_TRUE(search2.SearchDevices());
  EXPECT_EQ(search2.Replies().Code(254), 0x0405);  // 255 kept
  EXPECT_EQ(host2.opened, (std::vector<std::string>{"0405"}));
}

TEST_F(SearchTest, ShortAndLongDiscoveryDatagrams) {
  if (::geteuid() != 0) GTEST_SKIP() << "the sub-module query uses Modbus TCP port 502, which needs root";
  struct Row {
    const char* size;
    const char* deviceIp;
    std::vector<std::string> opened;
  };
  // A 3-byte reply carries the code but no address: its sub-modules are not asked for, not
  // even of a server listening on every address of this machine. A 300-byte one counts whole.
  const Row rows[] = {
      {"udpsize:3", "0.0.0.0", {"0015"}},
      {"udpsize:300", "127.0.0.52", {"0015", "4041"}},
  };
  std::uint32_t responder = 0x7F000033;  // 127.0.0.51 and up
  for (const Row& row : rows) {
    char bind[16];
    std::snprintf(bind, sizeof bind, "127.0.0.%u", responder & 0xFF);
    DevSim sim({"--no-pty", "--udp-bind", bind, "--tcp-port", "502", "--fault", row.size, "--device",
                std::string("code=0x0015 station=1 sub=0x4041 ip=") + row.deviceIp});
    ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
    UseEthernet(responder++);
    FakeHost host(kCatalogue);
    CDeviceSearch search(m_link, host);
    EXPECT_TRUE(search.SearchDevices()) << row.size;
    EXPECT_EQ(host.opened, row.opened) << row.size;
  }
}

// The whole search with the broadcast address, inside a network namespace of the test's own
// (loopback up, 255.255.255.255 routed to it). Child exit codes: 0 passed, 77 no namespace
// allowed here, others the step that failed.
int BroadcastSearchInOwnNamespace() {
  if (::unshare(CLONE_NEWNET) != 0) return 77;
  if (std::system("ip link set lo up && ip route add 255.255.255.255/32 dev lo") != 0) return 2;
  DevSim sim({"--no-pty", "--udp-bind", "0.0.0.0", "--tcp-port", "502",
              "--device", "code=0x0015 station=1 ip=127.0.0.9 sub=0x4041",
              "--device", "code=0x0405 station=1 ip=127.0.0.10"});
  if (!sim.Ready()) return 3;
  test::ScriptedPrompts prompts;
  SetPrompts(&prompts);
  CommConf conf;
  CPortLink portLink;
  CLinkManager link(conf, portLink);
  if (!link.LoadBusLink(CORVANE_BIN_DIR "/")) return 4;
  link.EnumAdapters = [](auto& n, auto& i) { n = {"lo"}; i = {"127.0.0.1"}; };
  conf.CommType = 1;
  conf.IPAddress = -1;  // broadcast, as the module search sets it
  link.ApplyLinkSettings();
  FakeHost host(kCatalogue);
  CDeviceSearch search(link, host);
  const auto start = std::chrono::steady_clock::now();
  if (!search.SearchDevices()) return 5;
  if (std::chrono::steady_clock::now() - start > std::chrono::seconds(3)) return 6;
  const std::set<std::string> opened(host.opened.begin(), host.opened.end());
  if (opened != std::set<std::string>{"0015", "0405", "4041"}) return 7;
  if (!prompts.shown.empty()) return 8;
  SetPrompts(nullptr);
  return 0;
}

TEST(BroadcastSearch, FindsEveryDeviceOnTheSegmentInsideANamespace) {
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) ::_exit(BroadcastSearchInOwnNamespace());
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no network namespace allowed here (unshare(CLONE_NEWNET) refused)";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failed at step " << WEXITSTATUS(status);
}

TEST_F(SearchTest, UnreachableDiscoveryTargetGivesNotFound) {
  DevSim sim({"--no-pty", "--udp-bind", "127.0.0.41", "--no-tcp", "--fault", "noreply"});
  ASSERT_TRUE(sim.Ready()) << sim.ReadyLine();
  UseEthernet(0x7F000029);
  FakeHost host(kCatalogue);
  CDeviceSearch search(m_link, host);
  EXPECT_FALSE(search.SearchDevices());
  EXPECT_EQ(host.log.size(), 1u);
}

TEST_F(SearchTest, ManagerBranchOpensNothing) {
  m_conf.CommType = 2;
  m_conf.PorthubInter = 3;
  FakeHost host({});  // no module accepts the manager's link type
  CDeviceSearch search(m_link, host);
  EXPECT_FALSE(search.SearchDevices());
  EXPECT_EQ(host.log.size(), 1u);
}

}  // namespace
}  // namespace corvane
