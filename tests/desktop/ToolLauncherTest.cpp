#include "widgets/CToolLauncher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <utility>
#include <vector>

#include "comm/CAppPath.h"
#include "platform/CRegStore.h"
#include "platform/CShell.h"
#include "tests/registry/RegTestEnv.h"

namespace corvane {
namespace {

using Entries = std::map<std::pair<std::string, std::string>, std::string>;
using Asked = std::vector<std::pair<std::string, std::string>>;

// App Paths entries as a table; every question is recorded.
AppPathLookup Table(Entries entries, Asked* asked = nullptr) {
  return [entries = std::move(entries), asked](const std::string& exe, const std::string& value) {
    if (asked) asked->emplace_back(exe, value);
    auto it = entries.find({exe, value});
    return it == entries.end() ? std::string() : it->second;
  };
}

TEST(ToolLauncherTest, LadderPadCountsDownFrom250To245ThenTheUnversionedEntry) {
  Asked asked;
  EXPECT_FALSE(CToolLauncher(Table({}, &asked)).LadderPad());
  const Asked expected{{"LadderPad_V250.exe", "Path"}, {"LadderPad_V249.exe", "Path"}, {"LadderPad_V248.exe", "Path"},
                       {"LadderPad_V247.exe", "Path"}, {"LadderPad_V246.exe", "Path"}, {"LadderPad_V245.exe", "Path"},
                       {"LadderPad.exe", "Path"}};
  EXPECT_EQ(asked, expected);

  const struct {
    Entries entries;
    std::optional<ToolLaunch> launch;
  } rows[] = {
      {{{{"LadderPad_V247.exe", "Path"}, "/v247"}, {{"LadderPad.exe", "Path"}, "/plain"}},
       ToolLaunch{"../LadderPad.exe", "-show", "/v247"}},
      {{{{"LadderPad_V250.exe", "Path"}, "/v250"}, {{"LadderPad_V245.exe", "Path"}, "/v245"}},
       ToolLaunch{"../LadderPad.exe", "-show", "/v250"}},
      {{{{"LadderPad_V245.exe", "Path"}, "/v245"}}, ToolLaunch{"../LadderPad.exe", "-show", "/v245"}},
      {{{{"LadderPad.exe", "Path"}, "/plain"}}, ToolLaunch{"../LadderPad.exe", "-show", "/plain"}},
      {{{{"LadderPad_V251.exe", "Path"}, "/v251"}}, std::nullopt},
      {{{{"LadderPad_V244.exe", "Path"}, "/v244"}}, std::nullopt},
      {{{{"LadderPad_V251.exe", "Path"}, "/v251"}, {{"LadderPad_V244.exe", "Path"}, "/v244"}}, std::nullopt},
      {{{{"LadderPad_V247.exe", ""}, "/v247/LadderPad_V247.exe"}}, std::nullopt},  // the default value is not asked
  };
  for (const auto& row : rows) EXPECT_EQ(CToolLauncher(Table(row.entries)).LadderPad(), row.launch);
}

TEST(ToolLauncherTest, ServoToolByItsFullPathFirstThenTheOlderEntries) {
  const std::pair<std::string, std::string> v5{"Servo_Tool_V5.exe", ""}, older{"Servo_Tool.exe", "Path"},
      plain{"ServoTool.exe", "Path"};
  const struct {
    Entries entries;
    std::optional<ToolLaunch> launch;
  } rows[] = {
      {{{v5, "/opt/servo/Servo_Tool_V5.exe"}, {older, "/older"}, {plain, "/plain"}},
       ToolLaunch{"/opt/servo/Servo_Tool_V5.exe", "", ""}},
      {{{older, "/older"}, {plain, "/plain"}}, ToolLaunch{"../Servo_Tool.exe", "-show", "/older"}},
      {{{plain, "/plain"}}, ToolLaunch{"../ServoTool.exe", "-show", "/plain"}},
      {{{{"Servo_Tool_V5.exe", "Path"}, "/v5folder"}}, std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(CToolLauncher(Table(row.entries)).ServoTool(), row.launch);
}

TEST(ToolLauncherTest, CardToolOnlyThroughOurOwnEntryWithTheLanguageQuoted) {
  EXPECT_EQ(CToolLauncher(Table({{{"Corvane.exe", "Path"}, "/corvane/bin"}})).CardTool(1033),
            (ToolLaunch{"../CardTool.exe", "\"1033\"", "/corvane/bin"}));
  EXPECT_EQ(CToolLauncher(Table({{{"Corvane.exe", "Path"}, "/c"}})).CardTool(2052)->parameters, "\"2052\"");
  EXPECT_FALSE(CToolLauncher(Table({{{"CardTool.exe", "Path"}, "/card"}, {{"CardTool.exe", ""}, "/card/CardTool.exe"}}))
                   .CardTool(1033));
}

TEST(ToolLauncherTest, SingleEntryToolsAndTheLadderStudioPair) {
  const CToolLauncher all(Table({{{"VirtualPort.exe", "Path"}, "/vp"},
                                 {{"DriveTool.exe", "Path"}, "/dt"},
                                 {{"NewLadderStudio.exe", "Path"}, "/new"},
                                 {{"LadderStudio.exe", "Path"}, "/old"}}));
  EXPECT_EQ(all.VirtualPort(), (ToolLaunch{"../VirtualPort.exe", "-show", "/vp"}));
  EXPECT_EQ(all.DriveTool(), (ToolLaunch{"../DriveTool.exe", "-show", "/dt"}));
  EXPECT_EQ(all.LadderStudio(), (ToolLaunch{"../NewLadderStudio.exe", "-show", "/new"}));
  EXPECT_EQ(CToolLauncher(Table({{{"LadderStudio.exe", "Path"}, "/old"}})).LadderStudio(),
            (ToolLaunch{"../LadderStudio.exe", "-show", "/old"}));
  const CToolLauncher none(Table({{{"VirtualPort.exe", ""}, "/vp/VirtualPort.exe"}}));
  EXPECT_FALSE(none.VirtualPort());
  EXPECT_FALSE(none.DriveTool());
  EXPECT_FALSE(none.LadderStudio());
}

class RecordingStarter : public platform::IProcessStarter {
public:
  RecordingStarter() { m_previous = platform::SetProcessStarter(this); }
  ~RecordingStarter() override { platform::SetProcessStarter(m_previous); }
  int Start(const std::string& program, const std::vector<std::string>& args, const std::string& folder) override {
    starts.push_back({program, args, folder});
    return 0;
  }
  struct Call {
    std::string program;
    std::vector<std::string> args;
    std::string folder;
  };
  std::vector<Call> starts;

private:
  platform::IProcessStarter* m_previous = nullptr;
};

class ToolLaunchThroughRegistryTest : public test::RegTestEnv {
protected:
  // An executable at <root>/<folder>/../<name>, registered with "Path" = <root>/<folder>.
  std::string Install(const std::string& entry, const std::string& folder, const std::string& exe) {
    const std::string dir = Root() + "/" + folder;
    std::filesystem::create_directories(dir);
    const std::string file = std::filesystem::path(dir).parent_path().string() + "/" + exe;
    std::ofstream(file) << "#!/bin/sh\n";
    ::chmod(file.c_str(), 0755);
    platform::CRegStore store;
    EXPECT_EQ(store.SetString(platform::RegRoot::LocalMachine,
                              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + entry, "Path", dir),
              platform::kRegOk);
    return dir;
  }
};

TEST_F(ToolLaunchThroughRegistryTest, StartsTheUpPathWithItsArgumentsInTheRegisteredFolder) {
  const std::string padFolder = Install("LadderPad_V247.exe", "pad/bin", "LadderPad.exe");
  Install("LadderPad.exe", "other/bin", "LadderPad.exe");
  const std::string cardFolder = Install("Corvane.exe", "corvane/bin", "CardTool.exe");
  RecordingStarter starter;
  const CToolLauncher launcher(comm::GetAppPath);
  CToolLauncher::Launch(launcher.LadderPad());
  CToolLauncher::Launch(launcher.LadderPad());  // a second press starts a second copy
  CToolLauncher::Launch(launcher.CardTool(1033));
  CToolLauncher::Launch(launcher.DriveTool());  // not installed: nothing
  ASSERT_EQ(starter.starts.size(), 3u);
  const std::string pad = padFolder + "/../LadderPad.exe";
  EXPECT_EQ(starter.starts[0].program, pad);
  EXPECT_EQ(starter.starts[0].args, (std::vector<std::string>{pad, "-show"}));
  EXPECT_EQ(starter.starts[0].folder, padFolder);
  EXPECT_EQ(starter.starts[1].program, pad);
  const std::string card = cardFolder + "/../CardTool.exe";
  EXPECT_EQ(starter.starts[2].args, (std::vector<std::string>{card, "1033"}));
  EXPECT_EQ(starter.starts[2].folder, cardFolder);
}

}  // namespace
}  // namespace corvane
