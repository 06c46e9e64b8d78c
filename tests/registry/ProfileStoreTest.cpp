#include <gtest/gtest.h>

#include "platform/CProfileStore.h"
#include "platform/CRecentFileList.h"
#include "platform/CRegStore.h"
#include "tests/registry/RegTestEnv.h"

namespace corvane::test {
namespace {

using platform::CProfileStore;
using platform::CRecentFileList;
using platform::CRegStore;
using platform::RegRoot;

class ProfileStoreTest : public RegTestEnv {
protected:
  CProfileStore profile;
  CRegStore store;
};

TEST_F(ProfileStoreTest, KeyPathsFollowCompanyAndSection) {
  EXPECT_EQ(profile.KeyPath(""), "Software\\Zelmar\\Corvane");
  EXPECT_EQ(profile.KeyPath("Settings"), "Software\\Zelmar\\Corvane\\Settings");
  profile.SetRegistryKey("Other");
  EXPECT_EQ(profile.KeyPath("Recent File List"), "Software\\Other\\Corvane\\Recent File List");
  profile.SetRegistryKey("");
  EXPECT_EQ(profile.KeyPath(""), "Software\\Corvane");
}

TEST_F(ProfileStoreTest, IntsAreDwordsAndStringsAreStrings) {
  ASSERT_TRUE(profile.WriteProfileInt("", "LanguageID", 1028));
  ASSERT_TRUE(profile.WriteProfileInt("Settings", "X", -1));
  ASSERT_TRUE(profile.WriteProfileString("Settings", "Name", "a\\b"));

  auto language = store.GetValue(RegRoot::CurrentUser, "Software\\Zelmar\\Corvane", "LanguageID");
  ASSERT_TRUE(language.ok());
  EXPECT_EQ(CRegStore::DwordOf(language.value), 1028u);
  auto name = store.GetValue(RegRoot::CurrentUser, "Software\\Zelmar\\Corvane\\Settings", "Name");
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(name.value.type, platform::REG_SZ);

  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 1033), 1028);
  EXPECT_EQ(profile.GetProfileInt("Settings", "X", 5), -1);
  EXPECT_EQ(profile.GetProfileString("Settings", "Name"), "a\\b");
  EXPECT_EQ(profile.GetProfileString("Settings", "X", "dflt"), "dflt");  // a number is not a string
  EXPECT_EQ(profile.GetProfileInt("", "Missing", 1033), 1033);
  EXPECT_EQ(profile.GetProfileString("Nowhere", "Missing", "d"), "d");

  ASSERT_TRUE(profile.DeleteProfileValue("", "LanguageID"));
  EXPECT_FALSE(profile.DeleteProfileValue("", "LanguageID"));
  EXPECT_EQ(profile.GetProfileInt("", "LanguageID", 1033), 1033);
}

TEST_F(ProfileStoreTest, IntReadsStringsAsDecimal) {
  struct Row {
    const char* stored;
    int expected;
  } rows[] = {
      {"1028", 1028}, {"  42", 42},   {"-7", -7},       {"12abc", 12},         {"abc", 99},
      {"", 99},       {"+3", 3},      {"2147483647", 2147483647}, {"2147483648", 99}, {"99999999999999999999", 99},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    ASSERT_TRUE(profile.WriteProfileString("", "N", row.stored));
    EXPECT_EQ(profile.GetProfileInt("", "N", 99), row.expected);
  }
  // Raw bytes are neither.
  ASSERT_EQ(store.SetBinary(RegRoot::CurrentUser, profile.KeyPath(""), "N", {1, 0, 0, 0}), platform::kRegOk);
  EXPECT_EQ(profile.GetProfileInt("", "N", 99), 99);
}

TEST_F(ProfileStoreTest, RecentFilesKeepFourNewestFirst) {
  CRecentFileList recent(profile);
  for (const char* path : {"/p/a.cvn", "/p/b.cvn", "/p/c.cvn", "/p/d.cvn", "/p/e.cvn", "/p/c.cvn"}) recent.Add(path);
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/p/c.cvn", "/p/e.cvn", "/p/d.cvn", "/p/b.cvn"}));
  ASSERT_TRUE(recent.WriteList());
  EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), "/p/c.cvn");
  EXPECT_EQ(profile.GetProfileString("Recent File List", "File4"), "/p/b.cvn");

  ASSERT_TRUE(recent.Remove(0));
  EXPECT_FALSE(recent.Remove(3));
  ASSERT_TRUE(recent.WriteList());
  EXPECT_EQ(profile.GetProfileString("Recent File List", "File4", "gone"), "gone");

  CRecentFileList reread(profile);
  reread.ReadList();
  EXPECT_EQ(reread.Entries(), (std::vector<std::string>{"/p/e.cvn", "/p/d.cvn", "/p/b.cvn"}));
}

TEST_F(ProfileStoreTest, DamagedRecentEntriesAreDropped) {
  const std::string key = profile.KeyPath("Recent File List");
  store.SetString(RegRoot::CurrentUser, key, "File1", "/ok.cvn");
  store.SetDword(RegRoot::CurrentUser, key, "File2", 7);
  store.SetString(RegRoot::CurrentUser, key, "File3", std::string(CRecentFileList::kMaxPathLength + 1, 'x'));
  store.SetString(RegRoot::CurrentUser, key, "File4", "/ok.cvn");
  store.SetString(RegRoot::CurrentUser, key, "File5", "/beyond.cvn");
  CRecentFileList recent(profile);
  recent.ReadList();
  EXPECT_EQ(recent.Entries(), std::vector<std::string>{"/ok.cvn"});
}

}  // namespace
}  // namespace corvane::test
