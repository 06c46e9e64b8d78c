#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "comm/CRegistryAccess.h"
#include "platform/CAppFolders.h"
#include "platform/CRegStore.h"
#include "tests/registry/RegTestEnv.h"

namespace corvane::test {
namespace {

using namespace corvane::comm;
using platform::CRegStore;
using platform::RegRoot;

class RegistryAccessTest : public RegTestEnv {
protected:
  CRegistryAccess reg;
  CRegStore store;
  const std::string key = "Software\\Zelmar\\Test";
};

TEST_F(RegistryAccessTest, OnlyTheFourRootsAreAccepted) {
  EXPECT_EQ(reg.GetRootKey(), HKEY_CURRENT_USER);
  for (HKEY bad : {HKEY{0}, HKEY{0x80000004u}, HKEY{0x80000005u}, HKEY{0x7fffffffu}, HKEY{1}}) {
    EXPECT_FALSE(reg.SetRootKey(bad)) << bad;
    EXPECT_EQ(reg.GetRootKey(), HKEY_CURRENT_USER);
  }
  for (HKEY good : {HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_USER}) {
    EXPECT_TRUE(reg.SetRootKey(good));
    EXPECT_EQ(reg.GetRootKey(), good);
  }
}

TEST_F(RegistryAccessTest, RootsReachTheirOwnFiles) {
  ASSERT_TRUE(reg.SetRootKey(HKEY_LOCAL_MACHINE));
  ASSERT_TRUE(reg.CreateKey("SOFTWARE\\X"));
  EXPECT_TRUE(platform::CAppFolders::LocalMachineRegistryFile() != "" &&
              Exists(platform::CAppFolders::LocalMachineRegistryFile()));
  EXPECT_FALSE(Exists(platform::CAppFolders::CurrentUserRegistryFile()));
  EXPECT_TRUE(reg.KeyExists("SOFTWARE\\X"));
  EXPECT_FALSE(reg.KeyExists("SOFTWARE\\X", HKEY_CURRENT_USER));
  EXPECT_FALSE(reg.KeyExists("SOFTWARE\\X", HKEY{0x1234}));
}

TEST_F(RegistryAccessTest, InstallFolderLookupReadsTheAppPathsEntry) {
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\PORTHUB.exe";
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, appPaths, "Path", "/opt/zelmar/porthub"), platform::kRegOk);
  ASSERT_TRUE(reg.SetRootKey(HKEY_LOCAL_MACHINE));
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\porthub.EXE"));
  EXPECT_EQ(reg.GetLastError(), 0);
  EXPECT_EQ(reg.ReadString("path", ""), "/opt/zelmar/porthub");
}

TEST_F(RegistryAccessTest, OpenKeyWithoutCreateFailsOnAMissingKey) {
  ASSERT_TRUE(reg.OpenKey(key, true));
  EXPECT_EQ(reg.GetCurrentPath(), key);
  EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, key));

  EXPECT_FALSE(reg.OpenKey("Software\\Nowhere"));
  EXPECT_EQ(reg.GetLastError(), 2);
  EXPECT_EQ(reg.GetCurrentPath(), key);  // kept
  EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, "Software\\Nowhere"));

  EXPECT_TRUE(reg.OpenKey(""));
  EXPECT_EQ(reg.GetCurrentPath(), "");
}

struct ReadStringRow {
  const char* label;
  std::function<void(CRegStore&, const std::string&)> store;
  std::string expected;
  int lastError;
};

TEST_F(RegistryAccessTest, ReadStringChecksTheTypeAndTheBuffer) {
  const ReadStringRow rows[] = {
      {"plain string", [](CRegStore& s, const std::string& k) { s.SetString(RegRoot::CurrentUser, k, "V", "text"); },
       "text", 0},
      {"expandable, unexpanded",
       [](CRegStore& s, const std::string& k) { s.SetString(RegRoot::CurrentUser, k, "V", "$HOME/x", platform::REG_EXPAND_SZ); },
       "$HOME/x", 0},
      {"number", [](CRegStore& s, const std::string& k) { s.SetDword(RegRoot::CurrentUser, k, "V", 42); }, "dflt", 0},
      {"raw bytes", [](CRegStore& s, const std::string& k) { s.SetBinary(RegRoot::CurrentUser, k, "V", {'a', 0}); },
       "dflt", 0},
      {"missing value", [](CRegStore& s, const std::string& k) { s.CreateKey(RegRoot::CurrentUser, k); }, "dflt", 2},
      {"missing key", [](CRegStore&, const std::string&) {}, "dflt", 2},
      {"255 characters fit", [](CRegStore& s, const std::string& k) {
         s.SetString(RegRoot::CurrentUser, k, "V", std::string(255, 'a')); }, std::string(255, 'a'), 0},
      {"256 characters do not",
       [](CRegStore& s, const std::string& k) { s.SetString(RegRoot::CurrentUser, k, "V", std::string(256, 'a')); },
       "dflt", platform::kRegMoreData},
      {"no terminator", [](CRegStore& s, const std::string& k) {
         s.SetValue(RegRoot::CurrentUser, k, platform::RegValue{"V", platform::REG_SZ, std::vector<std::uint8_t>(256, 'b')}); },
       std::string(255, 'b'), 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    store.DeleteKey(RegRoot::CurrentUser, key);
    row.store(store, key);
    CRegistryAccess fresh;
    fresh.OpenKey(key);
    EXPECT_EQ(fresh.ReadString("V", "dflt"), row.expected);
    EXPECT_EQ(fresh.GetLastError(), row.lastError);
  }
}

TEST_F(RegistryAccessTest, WriteStringRefusesLongTextAndWritesNothing) {
  ASSERT_TRUE(reg.CreateKey(key));
  const std::string before = ReadFile(platform::CAppFolders::CurrentUserRegistryFile());
  EXPECT_FALSE(reg.WriteString("Long", std::string(300, 'x')));
  EXPECT_FALSE(reg.WriteString("Long", std::string(255, 'x')));
  EXPECT_FALSE(reg.ValueExists("Long"));
  EXPECT_EQ(ReadFile(platform::CAppFolders::CurrentUserRegistryFile()), before);

  ASSERT_TRUE(reg.WriteString("Fits", std::string(254, 'x')));
  EXPECT_EQ(reg.GetValueType("Fits"), platform::REG_SZ);
  EXPECT_EQ(reg.GetValueSize("Fits"), 255);  // with its terminating zero
  EXPECT_EQ(reg.ReadString("Fits", ""), std::string(254, 'x'));
}

TEST_F(RegistryAccessTest, WritesNeedAnExistingCurrentKey) {
  reg.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.CreateKey(key));
  store.DeleteKey(RegRoot::CurrentUser, key);
  EXPECT_FALSE(reg.WriteString("S", "x"));
  EXPECT_FALSE(reg.WriteInt("I", 1));
  EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, key));
}

TEST_F(RegistryAccessTest, KeysValuesAndCounts) {
  ASSERT_TRUE(reg.CreateKey(key + "\\A"));
  ASSERT_TRUE(reg.CreateKey(key + "\\B"));
  ASSERT_TRUE(reg.CreateKey(key));
  EXPECT_EQ(reg.GetSubKeyCount(), 2);
  EXPECT_EQ(reg.GetValueCount(), 0);
  ASSERT_TRUE(reg.WriteString("S", "abc"));
  ASSERT_TRUE(reg.WriteInt("I", 1));
  EXPECT_EQ(reg.GetValueCount(), 2);
  EXPECT_TRUE(reg.ValueExists("s"));
  EXPECT_FALSE(reg.ValueExists("T"));
  EXPECT_EQ(reg.GetValueType("I"), platform::REG_BINARY);
  EXPECT_EQ(reg.GetValueSize("S"), 4);
  EXPECT_EQ(reg.GetValueType("T"), 0u);
  EXPECT_EQ(reg.GetLastError(), 2);
  EXPECT_EQ(reg.GetValueSize("T"), -1);

  EXPECT_TRUE(reg.DeleteValue("S"));
  EXPECT_FALSE(reg.DeleteValue("S"));
  EXPECT_TRUE(reg.DeleteKey(key + "\\A"));
  EXPECT_TRUE(reg.DeleteKey(key + "\\A"));  // already gone counts as deleted
  EXPECT_EQ(reg.GetSubKeyCount(), 1);
  EXPECT_TRUE(reg.DeleteKey(key));
  EXPECT_EQ(reg.GetSubKeyCount(), -1);
  EXPECT_EQ(reg.GetValueCount(), -1);
  EXPECT_FALSE(reg.DeleteKey(""));  // a root stays
}

TEST_F(RegistryAccessTest, RawValuesRoundTrip) {
  ASSERT_TRUE(reg.CreateKey(key));
  ASSERT_TRUE(reg.WriteInt("Int", -5));
  ASSERT_TRUE(reg.WriteDword("Dword", 0xDEADBEEFu));
  ASSERT_TRUE(reg.WriteBool("Bool", true));
  ASSERT_TRUE(reg.WriteColor("Color", 0x00FF8040u));
  ASSERT_TRUE(reg.WriteDouble("Double", -2.5e-300));
  ASSERT_TRUE(reg.WritePoint("Point", RegPoint{-1, 2}));
  ASSERT_TRUE(reg.WriteSize("Size", RegSize{640, 480}));
  ASSERT_TRUE(reg.WriteWords3("Words", RegWords3{1, 2, 0xFFFFFFFFu}));
  ASSERT_TRUE(reg.WriteRect("Rect", RegRect{1, 2, 3, -4}));
  RegFont font;
  font.height = -12;
  font.weight = 700;
  font.italic = 1;
  font.pitchAndFamily = 0x22;
  std::strcpy(font.faceName, "DejaVu Sans");
  ASSERT_TRUE(reg.WriteFont("Font", font));

  EXPECT_EQ(reg.GetValueSize("Words"), 12);
  EXPECT_EQ(reg.GetValueSize("Font"), kRegFontBytes);
  EXPECT_EQ(reg.ReadInt("Int", 0), -5);
  EXPECT_EQ(reg.ReadDword("Dword", 0), 0xDEADBEEFu);
  EXPECT_TRUE(reg.ReadBool("Bool", false));
  EXPECT_EQ(reg.ReadColor("Color", 0), 0x00FF8040u);
  EXPECT_EQ(reg.ReadDouble("Double", 0), -2.5e-300);
  RegPoint p;
  ASSERT_TRUE(reg.ReadPoint("Point", p));
  EXPECT_EQ(p.x, -1);
  EXPECT_EQ(p.y, 2);
  RegSize s;
  ASSERT_TRUE(reg.ReadSize("Size", s));
  EXPECT_EQ(s.cx, 640);
  auto w = reg.ReadWords3("Words", 0, 0, 0);
  EXPECT_EQ(w.w2, 0xFFFFFFFFu);
  RegRect r;
  ASSERT_TRUE(reg.ReadRect("Rect", r));
  EXPECT_EQ(r.bottom, -4);
  RegFont back;
  ASSERT_TRUE(reg.ReadFont("Font", back));
  EXPECT_EQ(back.height, -12);
  EXPECT_EQ(back.weight, 700);
  EXPECT_EQ(back.italic, 1);
  EXPECT_EQ(back.pitchAndFamily, 0x22);
  EXPECT_STREQ(back.faceName, "DejaVu Sans");
  // A little-endian layout that other tools can read.
  auto raw = store.GetValue(RegRoot::CurrentUser, key, "Dword");
  EXPECT_EQ(raw.value.data, (std::vector<std::uint8_t>{0xEF, 0xBE, 0xAD, 0xDE}));
}

TEST_F(RegistryAccessTest, RawReadsOfTheWrongSizeOrTypeGiveTheDefault) {
  ASSERT_TRUE(reg.CreateKey(key));
  store.SetBinary(RegRoot::CurrentUser, key, "Three", {1, 2, 3});
  store.SetBinary(RegRoot::CurrentUser, key, "Eight", std::vector<std::uint8_t>(8, 1));
  store.SetString(RegRoot::CurrentUser, key, "Str", "abc");  // four bytes with its zero
  store.SetDword(RegRoot::CurrentUser, key, "Dw", 9);
  EXPECT_EQ(reg.ReadInt("Three", 77), 77);
  EXPECT_EQ(reg.ReadInt("Eight", 77), 77);
  EXPECT_EQ(reg.ReadInt("Str", 77), 77);
  EXPECT_EQ(reg.ReadInt("Missing", 77), 77);
  EXPECT_EQ(reg.ReadInt("Dw", 77), 9);  // a number is four bytes too
  EXPECT_EQ(reg.ReadDouble("Dw", 1.5), 1.5);
  EXPECT_EQ(reg.ReadDouble("Three", 1.5), 1.5);
  auto w = reg.ReadWords3("Eight", 4, 5, 6);
  EXPECT_EQ(w.w0, 4u);
  EXPECT_EQ(w.w2, 6u);
  RegRect r{9, 9, 9, 9};
  EXPECT_FALSE(reg.ReadRect("Eight", r));
  EXPECT_EQ(r.left, 9);
  RegFont f;
  EXPECT_FALSE(reg.ReadFont("Eight", f));
}

TEST_F(RegistryAccessTest, FontFaceNameIsAlwaysTerminated) {
  ASSERT_TRUE(reg.CreateKey(key));
  store.SetBinary(RegRoot::CurrentUser, key, "Font", std::vector<std::uint8_t>(kRegFontBytes, 'Z'));
  RegFont f;
  ASSERT_TRUE(reg.ReadFont("Font", f));
  EXPECT_EQ(std::strlen(f.faceName), sizeof f.faceName - 1);
}

}  // namespace
}  // namespace corvane::test
