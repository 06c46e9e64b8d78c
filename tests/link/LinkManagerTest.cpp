#include "comm/CLinkManager.h"

#include <gtest/gtest.h>
#include <signal.h>
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
    EXPECT_EQ(link.OpenLink(), -1);
  }
  ASSERT_EQ(m_prompts.shown.size(), 2u);
  EXPECT_EQ(m_prompts.shown[0], "Invalid IP Address! IP address cannot be 0.0.0.0 or 255.255.255.");
  m_conf.CommType = 7;
  EXPECT_EQ(link.OpenLink(), -1);
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
  EXPECT_EQ(link.OpenLink(), -1);
  ASSERT_EQ(m_prompts.shown.size(), 1u);
  EXPECT_EQ(m_prompts.shown[0], "Cannot open the specified communication!");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("not a serial device"), std::string::npos) << log[0];
  // The box keeps its text and carries the same reason beneath it.
  EXPECT_EQ(m_prompts.details[0], log[0]);
}

TEST_F(LinkManagerTest, ManagerAbsentGivesMinusOneAfterThePause) {
  CLinkManager link(m_conf, m_portLink);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.QueryPorthubPort(), -1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  m_conf.CommType = 2;
  EXPECT_EQ(link.OpenLink(), -1);
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
  const int handle = link.OpenLink();
  EXPECT_GT(handle, 0);
  link.CloseLink(handle);
  EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(LinkManagerTest, ManagerAnsweringZeroIsNoUsablePort) {
  StartManager({"--porthub-answer", "0"});
  CLinkManager link(m_conf, m_portLink);
  EXPECT_EQ(link.QueryPorthubPort(), 0);
  m_conf.CommType = 2;
  EXPECT_EQ(link.OpenLink(), -1);
  EXPECT_EQ(m_prompts.shown.size(), 1u);
}

}  // namespace
}  // namespace corvane
