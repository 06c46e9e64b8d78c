// `corvane-cli search` finds the modules the window's Search and IP Search open, in the same setup:
// the same simulated devices, the same CVN.ini, the same catalogue and modules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "framework/CommandIds.h"
#include "tests/cli/CliRun.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/support/OwnNetNamespace.h"
#include "tests/support/RunCorvaneApp.h"
#include "tests/support/ScriptedPrompts.h"
#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/COutputLogModel.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

struct SearchCase {
  const char* name;
  std::vector<std::vector<std::string>> simulators;  // each simulator's options
  const char* settings;                              // CVN.ini's CommConf
  unsigned command;                                  // what the window runs
  std::vector<std::string> cli;                      // what the command line runs
  std::vector<std::string> modules;                  // what both open
};
void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

// The module codes of corvane-cli's --json output.
std::vector<std::string> CliModules(const std::string& json) {
  std::vector<std::string> codes;
  std::smatch list;
  if (!std::regex_search(json, list, std::regex(R"("modules":\[([^\]]*)\])"))) return codes;
  const std::string inside = list[1];
  static const std::regex code(R"x("([0-9A-F]{4})")x");
  for (std::sregex_iterator it(inside.begin(), inside.end(), code), end; it != end; ++it)
    codes.push_back((*it)[1]);
  return codes;
}

std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += x + " ";
  return s;
}

// In the namespace: the simulators, the window's search, then corvane-cli's.
std::string Compare(const SearchCase& c) {
  clitest::TempHome home;
  const std::string config = home.Path() + "/Zelmar Industrial Automation/Communication/Corvane/Config";
  fs::create_directories(config);
  fs::create_directories(home.Path() + "/run");
  fs::permissions(home.Path() + "/run", fs::perms::owner_all, fs::perm_options::replace);
  std::ofstream(config + "/CVN.ini") << "[CommConf]\n" << c.settings;
  setenv("PROGRAMDATA", home.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home.Path() + "/run").c_str(), 1);
  std::vector<std::unique_ptr<DevsimProcess>> sims;
  for (const auto& options : c.simulators) {
    sims.push_back(std::make_unique<DevsimProcess>());
    if (!sims.back()->Start(options, home.Path())) return "corvane-devsim did not start: " + sims.back()->ReadyLine();
  }
  std::vector<std::string> window;
  std::string log;
  test::ScriptedPrompts prompts;
  SetPrompts(&prompts);
  test::RunCorvaneApp(CORVANE_BIN_DIR "/corvane", {}, [&](CCorvaneApp& app) {
    app.GetMainFrame()->OnCommand(c.command);
    window.assign(app.m_aOpenModuleCodes.begin(), app.m_aOpenModuleCodes.end());
    const COutputLogModel* lines = app.GetMainFrame()->Output()->Model();
    for (std::size_t i = 0; i < lines->LineCount(); ++i) log += lines->LineText(i) + " | ";
  });
  SetPrompts(nullptr);
  const clitest::CliResult cli = clitest::RunCli(c.cli, home.Path());
  std::string failed;
  if (window != c.modules) {
    failed += "the window opened " + Joined(window) + "(log: " + log + "messages: ";
    for (const auto& m : prompts.shown) failed += m + " | ";
    failed += "); ";
  }
  if (cli.status != 0) failed += "corvane-cli ended with " + std::to_string(cli.status) + ": " + cli.err + "; ";
  if (CliModules(cli.out) != window) failed += "corvane-cli found " + Joined(CliModules(cli.out)) + "(" + cli.out + "); ";
  for (auto& sim : sims) sim->Stop();
  return failed;
}

class CliSearchMatchesWindow : public ::testing::TestWithParam<SearchCase> {};

TEST_P(CliSearchMatchesWindow, SameModules) {
  std::string failures;
  // A broadcast reaches the simulator through loopback inside the namespace only.
  const int status = test::InOwnNetNamespace([&] { return Compare(GetParam()); }, failures,
                                             [] { return std::system("ip route add 255.255.255.255/32 dev lo") == 0; });
  if (status == 77) GTEST_SKIP() << "no network namespace of our own here";
  EXPECT_EQ(status, 0) << failures;
}

const std::vector<std::string> kSerialSim = {"--com", "5", "--no-udp", "--no-tcp", "--device",
                                             "code=0x0015 station=1 sub=0x4041,0x4042"};
const char* const kSerialSettings = "CommType=0\nComPortNum=5\nBaudRate=19200\nDataLen=8\nParity=2\nStopBits=1\n"
                                    "ModbusMode=1\nStationAddr=1\n";

INSTANTIATE_TEST_SUITE_P(Links, CliSearchMatchesWindow, ::testing::Values(
    SearchCase{"serial", {kSerialSim}, kSerialSettings, cmd::ID_SEARCH_MODULE, {"search", "--json"},
               {"0015", "4041", "4042"}},
    SearchCase{"ip",
               {{"--no-pty", "--udp-bind", "127.0.0.2", "--tcp-port", "502", "--device",
                 "code=0x0022 station=1 ip=127.0.0.2 sub=0x4041,0x0001,0x4042"}},
               "CommType=1\nIPAddress=7F000002\nStationAddr=1\n", cmd::ID_IP_SEARCH, {"search", "--json"},
               {"0022", "4041", "4042"}},
    SearchCase{"broadcast",
               {{"--no-pty", "--udp-bind", "0.0.0.0", "--tcp-port", "502", "--device",
                 "code=0x0022 station=1 ip=127.0.0.2 sub=0x4042", "--device", "code=0x0015 station=1 ip=127.0.0.3 sub=0x4041"}},
               "CommType=1\nIPAddress=7F000002\nStationAddr=1\n", cmd::ID_SEARCH_MODULE, {"search", "broadcast", "--json"},
               {"0022", "4042", "0015", "4041"}}));

}  // namespace
}  // namespace corvane
