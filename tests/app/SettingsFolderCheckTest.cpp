// Whether this user can save in the all-users settings folder, and the fix named when not.
// Also runs as the ordinary test user: root may write everywhere.
#include "app/CSettingsFolderCheck.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Fix = SettingsFolderAccess::Fix;

class SettingsFolderCheck : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-folder-" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(m_root);
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(m_root))
      if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(m_root);
  }
  fs::path m_root;
};

TEST_F(SettingsFolderCheck, AMissingFolderIsMadeWhereTheUserMay) {
  const fs::path folder = m_root / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config";
  const SettingsFolderAccess access = CSettingsFolderCheck::Check(folder.string());
  EXPECT_TRUE(access.Writable());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(CSettingsFolderCheck::FixCommand(access), "");
}

TEST_F(SettingsFolderCheck, UnwritableFoldersNameTheirFix) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere; the unprivileged run checks this";
  fs::create_directories(m_root / "closed");
  fs::create_directories(m_root / "shut");
  fs::permissions(m_root / "closed", fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(m_root / "shut", fs::perms::owner_read | fs::perms::owner_exec);
  struct Row {
    fs::path folder;
    Fix fix;
    std::string command;
  };
  const std::string closed = (m_root / "closed").string();
  const std::string missing = (m_root / "shut" / "Corvane's Config").string();
  const Row rows[] = {
      {closed, Fix::GrantGroup, "sudo chgrp dialout '" + closed + "' && sudo chmod 2775 '" + closed + "'"},
      // The folder's name is quoted for the shell, a quote in it too.
      {missing, Fix::CreateFolder,
       "sudo install -d -m 2775 -g dialout '" + (m_root / "shut").string() + "/Corvane'\\''s Config'"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.folder);
    const SettingsFolderAccess access = CSettingsFolderCheck::Check(row.folder.string());
    EXPECT_FALSE(access.Writable());
    EXPECT_EQ(access.fix, row.fix);
    EXPECT_EQ(access.folder, row.folder.string());
    EXPECT_EQ(CSettingsFolderCheck::FixCommand(access), row.command);
  }
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
}  // namespace corvane
