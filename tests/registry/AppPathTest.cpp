#include <gtest/gtest.h>

#include "comm/CAppPath.h"
#include "platform/CRegStore.h"
#include "tests/registry/RegTestEnv.h"

namespace corvane::test {
namespace {

using comm::GetAppPath;
using platform::CRegStore;
using platform::RegRoot;

constexpr const char* kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\LadderPad.exe";

class AppPathTest : public RegTestEnv {};

TEST_F(AppPathTest, DefaultValueNamedValueAndMissingOnes) {
  EXPECT_EQ(GetAppPath("LadderPad.exe", ""), "");  // no key
  CRegStore store;
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, kKey, "", "/opt/ladderpad/LadderPad"), platform::kRegOk);
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, kKey, "Path", "/opt/ladderpad/"), platform::kRegOk);
  ASSERT_EQ(store.SetDword(RegRoot::LocalMachine, kKey, "Build", 7), platform::kRegOk);

  EXPECT_EQ(GetAppPath("LadderPad.exe", ""), "/opt/ladderpad/LadderPad");
  EXPECT_EQ(GetAppPath("ladderpad.EXE", "path"), "/opt/ladderpad/");  // registry names ignore case
  EXPECT_EQ(GetAppPath("LadderPad.exe", "Missing"), "");
  EXPECT_EQ(GetAppPath("LadderPad.exe", "Build"), "");  // not text
  EXPECT_EQ(GetAppPath("Other.exe", "Path"), "");
  // Only the local machine's entry counts.
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, std::string(kKey) + "x", "Path", "/home"), platform::kRegOk);
  EXPECT_EQ(GetAppPath("LadderPad.exex", "Path"), "");
}

TEST_F(AppPathTest, ValueLongerThanTheBufferIsUnreadableAndNamesCannotEscapeTheKey) {
  CRegStore store;
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, kKey, "Fits", std::string(1022, 'a')), platform::kRegOk);
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, kKey, "Long", std::string(1023, 'a')), platform::kRegOk);
  EXPECT_EQ(GetAppPath("LadderPad.exe", "Fits").size(), 1022u);
  EXPECT_EQ(GetAppPath("LadderPad.exe", "Long"), "");

  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\x", "Path",
                            "/tmp"),
            platform::kRegOk);
  EXPECT_EQ(GetAppPath("..\\Run\\x", "Path"), "");
  EXPECT_EQ(GetAppPath("", "Path"), "");
}

}  // namespace
}  // namespace corvane::test
