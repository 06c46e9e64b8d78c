#include "app/CRunLanguage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace corvane {
namespace {

// Isolates the per-user store in a temporary folder.
class RunLanguageTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("cvn-lang-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    setenv("PROGRAMDATA", m_dir.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  std::filesystem::path m_dir;
};

TEST_F(RunLanguageTest, OneRunLanguageIsWrittenBackAtExit) {
  platform::CProfileStore profile;
  profile.WriteProfileInt("", "LanguageID", 2052);
  CRunLanguage run(profile);
  run.TakeFromField("1028");
  EXPECT_EQ(run.ReadLanguageId(), 1028);
  run.Restore();
  EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 2052);
}

TEST_F(RunLanguageTest, NothingStoredBeforeStores1033AtExit) {
  platform::CProfileStore profile;
  CRunLanguage run(profile);
  run.TakeFromField("1028");
  run.Restore();
  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 0), 1033);
}

TEST_F(RunLanguageTest, NonNumericFieldGivesZeroForTheRun) {
  platform::CProfileStore profile;
  profile.WriteProfileInt("", "LanguageID", 1041);
  CRunLanguage run(profile);
  run.TakeFromField("/home/user/plant.cvn");
  EXPECT_EQ(run.ReadLanguageId(), 0);
  run.Restore();
  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 0), 1041);
}

TEST_F(RunLanguageTest, WithoutFieldsTheStoredValueIsUntouched) {
  platform::CProfileStore profile;
  profile.WriteProfileInt("", "LanguageID", 1031);
  CRunLanguage run(profile);
  EXPECT_EQ(run.ReadLanguageId(), 1031);
  run.Restore();
  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 0), 1031);
  EXPECT_EQ(run.SavedLanguageId(), 0);
}

TEST_F(RunLanguageTest, StoredZeroIsRestoredToo) {
  platform::CProfileStore profile;
  profile.WriteProfileInt("", "LanguageID", 0);
  CRunLanguage run(profile);
  run.TakeFromField("1028");
  EXPECT_EQ(run.ReadLanguageId(), 1028);
  run.Restore();
  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 1033), 0);
}

TEST_F(RunLanguageTest, LanguageChosenDuringTheRunIsKept) {
  platform::CProfileStore profile;
  profile.WriteProfileInt("", "LanguageID", 2052);
  CRunLanguage run(profile);
  run.TakeFromField("1028");
  profile.WriteProfileInt("", "LanguageID", 1031);  // the Tools menu records a choice
  run.Restore();
  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 0), 1031);
}

}  // namespace
}  // namespace corvane
