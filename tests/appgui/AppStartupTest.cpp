// The application object driven in-process, offscreen: start-up, link preset, language
// restore at exit and the help commands.
#include <gtest/gtest.h>

#include "platform/IPrompts.h"

#include <filesystem>
#include <fstream>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "platform/CProfileStore.h"
#include "platform/CShell.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/RunCorvaneApp.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class RecordingStarter : public platform::IProcessStarter {
public:
  int Start(const std::string& program, const std::vector<std::string>& args,
            const std::string& folder) override {
    starts.push_back({program, args, folder});
    return 0;
  }
  struct Call { std::string program; std::vector<std::string> args; std::string folder; };
  std::vector<Call> starts;
};

class AppStartup : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-app-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "bin" / "Config");
    fs::create_directories(m_root / "data");
    fs::create_directories(m_root / "home");
    setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_root / "home").c_str(), 1);
    m_exe = (m_root / "bin" / "corvane").string();
    fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", m_root / "bin" / "libBusLink.so");
    platform::SetProcessStarter(&m_starter);
    SetPrompts(&m_prompts);  // no real message box may wait for a user here
  }
  void TearDown() override {
    SetPrompts(nullptr);
    platform::SetProcessStarter(nullptr);
    fs::remove_all(m_root);
  }

  // Runs start-up with the given arguments, then the body, then the shutdown.
  template <typename Body>
  void RunApp(std::vector<std::string> args, Body body) {
    test::RunCorvaneApp(m_exe, std::move(args), body);
  }

  fs::path m_root;
  test::ScriptedPrompts m_prompts;
  std::string m_exe;
  RecordingStarter m_starter;
};

TEST_F(AppStartup, PathsFollowTheExecutableFolderAndTheAllUsersFolder) {
  RunApp({}, [&](CCorvaneApp& app) {
    EXPECT_EQ(app.m_strAppPath, (m_root / "bin").string() + "/");
    EXPECT_EQ(app.m_iniModules.GetPathName(), (m_root / "bin" / "Config" / "Modules.ini").string());
    EXPECT_EQ(app.m_iniSettings.GetPathName(),
              (m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config" /
               "CVN.ini").string());
    ASSERT_NE(app.GetMainFrame(), nullptr);
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
    EXPECT_FALSE(app.GetMainFrame()->m_bLinkPreset);
  });
}

TEST_F(AppStartup, OneRunLanguageIsRestoredAtExit) {
  platform::CProfileStore().WriteProfileInt("", "LanguageID", 2052);
  RunApp({"1028"}, [&](CCorvaneApp& app) {
    EXPECT_EQ(app.m_nLanguageID, 1028);
    EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 1028);
  });
  EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 2052);
}

TEST_F(AppStartup, FiveFieldsSetTheLinkPreset) {
  RunApp({"1033 0 1 192.168.1.5 00060000FF000003"}, [&](CCorvaneApp& app) {
    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->m_bLinkPreset);
    EXPECT_EQ(frame->LinkSettings().CommType, 1);
    EXPECT_EQ(frame->LinkSettings().IPAddress, 0xC0A80105u);
  });
}

TEST_F(AppStartup, FourFieldsTakeOnlyTheLanguage) {
  RunApp({"1041 0 1 192.168.1.5"}, [&](CCorvaneApp& app) {
    EXPECT_EQ(app.m_nLanguageID, 1041);
    EXPECT_FALSE(app.GetMainFrame()->m_bLinkPreset);
  });
}

TEST_F(AppStartup, HelpDocumentsOpenByLanguageAndMissingOnesAreSilent) {
  fs::create_directories(m_root / "Help");
  std::ofstream(m_root / "Help" / "Corvane_CHT.chm") << "help";
  RunApp({"1028"}, [&](CCorvaneApp& app) {
    app.OnHelpManual();
    ASSERT_EQ(m_starter.starts.size(), 1u);
    EXPECT_EQ(m_starter.starts[0].program, "xdg-open");
    EXPECT_EQ(fs::weakly_canonical(m_starter.starts[0].args.back()),
              fs::weakly_canonical(m_root / "Help" / "Corvane_CHT.chm"));
    EXPECT_EQ(m_starter.starts[0].folder, (m_root / "bin").string() + "/");
    app.OnHelpHistory();  // no such document: nothing starts, nothing is shown
    EXPECT_EQ(m_starter.starts.size(), 1u);
  });
}

}  // namespace
}  // namespace corvane
