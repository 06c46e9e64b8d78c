// The program as an ordinary user meets it, in the all-users settings folder as the package's
// maintainer script makes it. Root prepares the folders; every start runs the real start-up and
// shutdown in a child process that dropped to the test user (root would ignore permissions).
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <QComboBox>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "comm/CLinkManager.h"
#include "comm/ui/CCommSetDlg.h"
#include "comm/ui/CIpAddressEdit.h"
#include "framework/CommandIds.h"
#include "tests/support/RunCorvaneApp.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr int kUnreachable = 77;  // the child found the build folder out of the user's reach

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class OrdinaryUser : public ::testing::Test {
protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "root prepares the folders as the package does";
    const passwd* pw = ::getpwnam(CORVANE_TEST_USER_NAME);
    ASSERT_NE(pw, nullptr) << "no user " CORVANE_TEST_USER_NAME ": `make test` creates it";
    m_uid = pw->pw_uid;
    m_gid = pw->pw_gid;
    m_root = fs::temp_directory_path() / ("cvn-user-" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(m_root / "bin" / "Config");
    fs::create_directories(m_root / "home" / "config");
    fs::create_directories(m_root / "home" / "run");
    fs::permissions(m_root / "home" / "run", fs::perms::owner_all);
    fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", m_root / "bin" / "libBusLink.so");
    fs::permissions(m_root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    ASSERT_EQ(::chown((m_root / "home").c_str(), m_uid, m_gid), 0);
    for (const char* sub : {"config", "run"}) ASSERT_EQ(::chown((m_root / "home" / sub).c_str(), m_uid, m_gid), 0);
    m_folder = m_root / "var/lib/Zelmar Industrial Automation/Communication/Corvane/Config";
  }
  void TearDown() override { fs::remove_all(m_root); }

  // The folder as the package's postinst makes it: root:dialout, 2775.
  void RunPostinst() {
    const std::string command = "DPKG_ROOT='" + m_root.string() + "' sh '" CORVANE_SOURCE_DIR
                                "/packaging/postinst' configure";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  // One start of the program as the test user, in its group dialout unless told otherwise.
  // Skips the test when the user cannot reach the build folder.
  void StartAsUser(const std::function<void(CCorvaneApp&, test::ScriptedPrompts&)>& body, bool inDialout = true) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const gid_t only = m_gid;
      const bool dropped = (inDialout ? ::initgroups(CORVANE_TEST_USER_NAME, m_gid) : ::setgroups(1, &only)) == 0 &&
                           ::setgid(m_gid) == 0 && ::setuid(m_uid) == 0 && ::setuid(0) != 0;
      if (!dropped) ::_exit(3);
      if (::access(CORVANE_BIN_DIR "/libBusLink.so", R_OK) != 0) ::_exit(kUnreachable);
      ::setenv("HOME", (m_root / "home").c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (m_root / "home" / "config").c_str(), 1);
      ::setenv("PROGRAMDATA", (m_root / "var" / "lib").c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", (m_root / "home" / "run").c_str(), 1);
      test::ScriptedPrompts prompts;
      SetPrompts(&prompts);
      test::RunCorvaneApp((m_root / "bin" / "corvane").string(), {"1033"},
                          [&](CCorvaneApp& app) { body(app, prompts); });
      SetPrompts(nullptr);
      ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kUnreachable) GTEST_SKIP() << "the build folder is out of the test user's reach";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the start as " CORVANE_TEST_USER_NAME " failed (above)";
  }

  fs::path m_root, m_folder;
  uid_t m_uid = 0;
  gid_t m_gid = 0;
};

// The Communication Setting dialog, answered with OK for Ethernet to the given address.
void ChooseEthernet(CMainFrame& frame, const char* address) {
  frame.Services()->Link().EnumAdapters = [](std::vector<std::string>& names, std::vector<std::string>& ips) {
    names = {"Test Ethernet Adapter"};
    ips = {"127.0.0.1"};
  };
  frame.CommSetDialogHook = [address](comm::CCommSetDlg& dlg) {
    auto* type = dlg.findChild<QComboBox*>("11100");
    type->setCurrentIndex(1);
    emit type->activated(1);
    dlg.findChild<comm::CIpAddressEdit*>("11108")->SetText(address);
    dlg.accept();
    return dlg.result();
  };
  frame.OnCmdMsg(cmd::ID_COMM_SETTING, nullptr);
}


TEST_F(OrdinaryUser, LinkSettingsChangedByAMemberOfDialoutAreFoundAfterARestart) {
  RunPostinst();
  StartAsUser([&](CCorvaneApp& app, test::ScriptedPrompts& prompts) {
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front();
    ChooseEthernet(*app.GetMainFrame(), "127.0.0.9");
    EXPECT_EQ(app.GetMainFrame()->Services()->Conf().CommType, 1);
  });
  if (IsSkipped()) return;
  StartAsUser([&](CCorvaneApp& app, test::ScriptedPrompts& prompts) {
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(app.GetMainFrame()->Services()->Conf().CommType, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(app.GetMainFrame()->Services()->Conf().IPAddress), 0x7F000009u);
  });
  // The file is the user's, in the folder's group, readable by the other members.
  struct stat st {};
  ASSERT_EQ(::stat((m_folder / "CVN.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, m_uid);
  const group* dialout = ::getgrnam("dialout");
  ASSERT_NE(dialout, nullptr);
  EXPECT_EQ(st.st_gid, dialout->gr_gid);
}

// Where the user may not write the folder: one notice at each start, naming the folder and the
// fix; the settings already there and everything kept elsewhere stay.
TEST_F(OrdinaryUser, UnwritableFolderShowsOneNoticeAndLosesNothingElse) {
  struct Case {
    const char* what;
    bool packageFolder;  // made by postinst (else root's own 0755 folder)
    bool inDialout;
    std::string fix;
  };
  const Case cases[] = {
      {"a user outside dialout", true, false, "sudo adduser " CORVANE_TEST_USER_NAME " dialout"},
      {"a folder only root may write", false, true, "sudo chgrp dialout"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(m_root / "var");
    fs::remove_all(m_root / "home" / "config" / "Zelmar");
    if (c.packageFolder) {
      RunPostinst();
    } else {
      fs::create_directories(m_folder);
    }
    const std::string stored = "[CommConf]\nCommType=1\nIPAddress=7F000005\n";
    std::ofstream(m_folder / "CVN.ini") << stored;
    const std::string project = (m_root / "plant.cvn").string();
    // The notice is the message with the fix; it names the folder.
    auto expectOneNotice = [&](const test::ScriptedPrompts& prompts) {
      auto isNotice = [&](const std::string& text) { return text.find(c.fix) != std::string::npos; };
      ASSERT_EQ(std::count_if(prompts.shown.begin(), prompts.shown.end(), isNotice), 1)
          << (prompts.shown.empty() ? std::string("no message") : prompts.shown.front());
      const auto notice = std::find_if(prompts.shown.begin(), prompts.shown.end(), isNotice);
      EXPECT_NE(notice->find(m_folder.string()), std::string::npos) << *notice;
    };
    StartAsUser(
        [&](CCorvaneApp& app, test::ScriptedPrompts& prompts) {
          expectOneNotice(prompts);
          EXPECT_EQ(app.GetMainFrame()->Services()->Conf().CommType, 1) << "the stored settings are read";
          ChooseEthernet(*app.GetMainFrame(), "127.0.0.77");  // kept for this run only
          EXPECT_EQ(static_cast<std::uint32_t>(app.GetMainFrame()->Services()->Conf().IPAddress), 0x7F00004Du);
          app.AddToRecentFileList(project);
        },
        c.inDialout);
    if (IsSkipped()) return;
    StartAsUser(
        [&](CCorvaneApp& app, test::ScriptedPrompts& prompts) {
          expectOneNotice(prompts);
          EXPECT_EQ(static_cast<std::uint32_t>(app.GetMainFrame()->Services()->Conf().IPAddress), 0x7F000005u);
          ASSERT_FALSE(app.RecentFiles().empty()) << "the user's own settings are kept";
          EXPECT_EQ(app.RecentFiles().front(), project);
        },
        c.inDialout);
    EXPECT_EQ(ReadFile(m_folder / "CVN.ini"), stored);
    for (const auto& entry : fs::directory_iterator(m_folder))
      EXPECT_EQ(entry.path().filename(), "CVN.ini") << "left behind: " << entry.path();
  }
}

}  // namespace
}  // namespace corvane
