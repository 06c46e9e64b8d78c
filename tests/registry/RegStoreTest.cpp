#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/CAppFolders.h"
#include "platform/CRegStore.h"
#include "tests/registry/RegTestEnv.h"

namespace corvane::test {
namespace {

using platform::CAppFolders;
using platform::CRegStore;
using platform::RegRoot;
using platform::RegValue;
using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s, bool zero = true) {
  Bytes b(s.begin(), s.end());
  if (zero) b.push_back(0);
  return b;
}

class RegStoreTest : public RegTestEnv {
protected:
  CRegStore store;
  std::string UserFile() const { return CAppFolders::CurrentUserRegistryFile(); }
  std::string MachineFile() const { return CAppFolders::LocalMachineRegistryFile(); }
};

TEST_F(RegStoreTest, FoldersFollowTheEnvironmentOnEveryCall) {
  EXPECT_EQ(CAppFolders::AllUsersFolder(), Root() + "/programdata");
  EXPECT_EQ(CAppFolders::LocalMachineRegistryFile(), Root() + "/programdata/Zelmar Industrial Automation/system.reg");
  EXPECT_EQ(CAppFolders::CurrentUserRegistryFile(), Root() + "/config/Zelmar/user.reg");
  EXPECT_EQ(CAppFolders::CorvaneConfigFolder(),
            Root() + "/programdata/Zelmar Industrial Automation/Communication/Corvane/Config");

  ::setenv("PROGRAMDATA", "", 1);
  EXPECT_EQ(CAppFolders::AllUsersFolder(), "/var/lib");
  ::unsetenv("PROGRAMDATA");
  EXPECT_EQ(CAppFolders::LocalMachineRegistryFile(), "/var/lib/Zelmar Industrial Automation/system.reg");

  const char* home = std::getenv("HOME");
  std::string oldHome = home ? home : "";
  ::setenv("HOME", "/home/someone/", 1);
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(CAppFolders::UserConfigFolder(), "/home/someone/.config");
  EXPECT_EQ(CAppFolders::CurrentUserRegistryFile(), "/home/someone/.config/Zelmar/user.reg");
  if (home) ::setenv("HOME", oldHome.c_str(), 1); else ::unsetenv("HOME");
}

struct RoundTripRow {
  const char* label;
  std::string name;
  std::uint32_t type;
  Bytes data;
  std::string fileLine;  // how the value reads in the file
};

TEST_F(RegStoreTest, EveryTypeRoundTripsThroughTheFile) {
  Bytes hundred(100);
  for (std::size_t i = 0; i < hundred.size(); ++i) hundred[i] = static_cast<std::uint8_t>(i * 7);
  const RoundTripRow rows[] = {
      {"plain string", "Path", platform::REG_SZ, Text("/opt/porthub"), "\"Path\"=\"/opt/porthub\""},
      {"escapes", "Q", platform::REG_SZ, Text("C:\\dir \"x\""), "\"Q\"=\"C:\\\\dir \\\"x\\\"\""},
      {"empty string", "E", platform::REG_SZ, Text(""), "\"E\"=\"\""},
      {"default value", "", platform::REG_SZ, Text("/usr/bin/tool"), "@=\"/usr/bin/tool\""},
      {"quote in name", "a\"b\\c", platform::REG_SZ, Text("v"), "\"a\\\"b\\\\c\"=\"v\""},
      {"newline in string", "NL", platform::REG_SZ, Text("a\nb"), "\"NL\"=hex(1):61,0a,62,00"},
      {"string without zero", "NZ", platform::REG_SZ, Text("ab", false), "\"NZ\"=hex(1):61,62"},
      {"expandable", "X", platform::REG_EXPAND_SZ, Text("$HOME"), "\"X\"=hex(2):24,48,4f,4d,45,00"},
      {"dword", "D", platform::REG_DWORD, {0x0a, 0, 0, 0}, "\"D\"=dword:0000000a"},
      {"dword high bit", "H", platform::REG_DWORD, {0x78, 0x56, 0x34, 0xf2}, "\"H\"=dword:f2345678"},
      {"short dword", "S", platform::REG_DWORD, {1, 2}, "\"S\"=hex(4):01,02"},
      {"binary", "B", platform::REG_BINARY, {0, 0xff, 0x10}, "\"B\"=hex:00,ff,10"},
      {"empty binary", "EB", platform::REG_BINARY, {}, "\"EB\"=hex:"},
      {"long binary wraps", "L", platform::REG_BINARY, hundred, "\"L\"=hex:00,07,0e,"},
      {"other type", "M", 7, Text("a\0b", true), "\"M\"=hex(7):61,00"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    ASSERT_EQ(store.SetValue(RegRoot::CurrentUser, "Software\\Zelmar\\T", RegValue{row.name, row.type, row.data}),
              platform::kRegOk);
    auto got = store.GetValue(RegRoot::CurrentUser, "Software\\Zelmar\\T", row.name);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.value.type, row.type);
    EXPECT_EQ(got.value.data, row.data);
    EXPECT_NE(ReadFile(UserFile()).find("\n" + row.fileLine), std::string::npos) << ReadFile(UserFile());
  }
  // All of them are still there together, in the order written.
  auto all = store.EnumValues(RegRoot::CurrentUser, "Software\\Zelmar\\T");
  ASSERT_EQ(all.error, platform::kRegOk);
  ASSERT_EQ(all.values.size(), std::size(rows));
  for (std::size_t i = 0; i < all.values.size(); ++i) {
    EXPECT_EQ(all.values[i].name, rows[i].name);
    EXPECT_EQ(all.values[i].data, rows[i].data);
  }
}

TEST_F(RegStoreTest, FileHasTheHeaderAndParentSections) {
  ASSERT_EQ(store.SetDword(RegRoot::LocalMachine, "SOFTWARE\\Zelmar\\Corvane", "N", 3), platform::kRegOk);
  EXPECT_EQ(ReadFile(MachineFile()),
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zelmar]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zelmar\\Corvane]\n\"N\"=dword:00000003\n");
  EXPECT_FALSE(Exists(UserFile()));  // each root keeps its own file
}

struct ParseRow {
  const char* label;
  std::string body;  // after the header and section line
  std::string name;
  std::uint32_t type;
  Bytes data;
};

TEST_F(RegStoreTest, HandWrittenFilesAreRead) {
  const ParseRow rows[] = {
      {"crlf", "\"A\"=\"x\"\r\n", "A", platform::REG_SZ, Text("x")},
      {"upper-case dword", "\"A\"=DWORD:0000FFFF\n", "A", platform::REG_DWORD, {0xff, 0xff, 0, 0}},
      {"short dword digits", "\"A\"=dword:1\n", "A", platform::REG_DWORD, {1, 0, 0, 0}},
      {"hex continuation", "\"A\"=hex:01,02,\\\n   03,\\\n  04\n", "A", platform::REG_BINARY, {1, 2, 3, 4}},
      {"spaces around =", "\"A\" = \"x\"\n", "A", platform::REG_SZ, Text("x")},
      {"indented", "   @=\"d\"\n", "", platform::REG_SZ, Text("d")},
      {"later line wins", "\"A\"=\"1\"\n\"a\"=\"2\"\n", "A", platform::REG_SZ, Text("2")},
      {"comment skipped", "; \"A\"=\"no\"\n\"A\"=\"yes\"\n", "A", platform::REG_SZ, Text("yes")},
      {"broken continuation", "\"X\"=hex:01,\\\n\"A\"=\"x\"\n", "A", platform::REG_SZ, Text("x")},
      {"expandable hex(2)", "\"A\"=hex(2):25,50,25,00\n", "A", platform::REG_EXPAND_SZ, Text("%P%")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    WriteFile(UserFile(), "\xEF\xBB\xBFREGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n" + row.body);
    auto got = store.GetValue(RegRoot::CurrentUser, "Software\\T", row.name);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.value.type, row.type);
    EXPECT_EQ(got.value.data, row.data);
  }
}

TEST_F(RegStoreTest, NamesAreCaseInsensitiveAndKeepTheirFirstSpelling) {
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, "Software\\Zelmar", "Value", "1"), platform::kRegOk);
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, "SOFTWARE\\zelmar", "VALUE", "2"), platform::kRegOk);
  ASSERT_EQ(store.CreateKey(RegRoot::CurrentUser, "software\\ZELMAR\\Sub"), platform::kRegOk);

  auto got = store.GetValue(RegRoot::CurrentUser, "sOfTwArE\\ZeLmAr", "vAlUe");
  ASSERT_TRUE(got.ok());
  EXPECT_EQ(CRegStore::TextOf(got.value), "2");
  EXPECT_EQ(got.value.name, "Value");
  EXPECT_EQ(store.EnumValues(RegRoot::CurrentUser, "Software\\Zelmar").values.size(), 1u);
  auto top = store.EnumSubKeys(RegRoot::CurrentUser, "");
  EXPECT_EQ(top.names, std::vector<std::string>{"Software"});
  auto subs = store.EnumSubKeys(RegRoot::CurrentUser, "SOFTWARE");
  EXPECT_EQ(subs.names, std::vector<std::string>{"Zelmar"});
  EXPECT_NE(ReadFile(UserFile()).find("[HKEY_CURRENT_USER\\Software\\Zelmar\\Sub]"), std::string::npos);
}

TEST_F(RegStoreTest, KeysAreCreatedEnumeratedAndDeletedWithTheirSubkeys) {
  for (const char* path : {"A\\b2", "A\\B1\\deep\\deeper", "A\\c", "Other"}) {
    ASSERT_EQ(store.CreateKey(RegRoot::CurrentUser, path), platform::kRegOk) << path;
  }
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "A\\B1\\deep", "n", 1), platform::kRegOk);
  EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, "A\\B1\\deep"));
  EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, "\\A\\\\B1\\"));  // empty components ignored
  EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, ""));
  EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, "A\\B"));
  EXPECT_EQ(store.EnumSubKeys(RegRoot::CurrentUser, "A").names, (std::vector<std::string>{"B1", "b2", "c"}));
  EXPECT_EQ(store.EnumSubKeys(RegRoot::CurrentUser, "Missing").error, platform::kRegNotFound);

  EXPECT_EQ(store.DeleteKey(RegRoot::CurrentUser, "a\\b1"), platform::kRegOk);
  EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, "A\\B1\\deep\\deeper"));
  EXPECT_FALSE(store.GetValue(RegRoot::CurrentUser, "A\\B1\\deep", "n").ok());
  EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, "A\\b2"));
  EXPECT_EQ(store.DeleteKey(RegRoot::CurrentUser, "A\\B1"), platform::kRegNotFound);
  EXPECT_EQ(store.DeleteKey(RegRoot::CurrentUser, ""), platform::kRegInvalidParameter);
  EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, "Other"));
}

TEST_F(RegStoreTest, ValueErrorsUseThePlatformCodes) {
  EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, "Nowhere", "x").error, platform::kRegNotFound);
  EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "Nowhere", "x"), platform::kRegNotFound);
  EXPECT_FALSE(Exists(UserFile()));  // failed requests write nothing
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 5), platform::kRegOk);
  EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, "K", "y").error, platform::kRegNotFound);
  EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "K", "X"), platform::kRegOk);
  EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "K", "x"), platform::kRegNotFound);

  EXPECT_EQ(store.SetString(RegRoot::CurrentUser, "K", "bad\nname", "v"), platform::kRegInvalidParameter);
  EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, "bad\nkey"), platform::kRegInvalidParameter);
  EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, std::string(256, 'k')), platform::kRegInvalidParameter);
  EXPECT_EQ(store.SetBinary(RegRoot::CurrentUser, "K", "big", Bytes(CRegStore::kMaxValueBytes + 1)),
            platform::kRegInvalidParameter);
}

TEST_F(RegStoreTest, MalformedFilesAreReadWithoutCrashing) {
  const std::string good = "[HKEY_CURRENT_USER\\Ok]\n\"Good\"=\"yes\"\n";
  const std::string rows[] = {
      "",                                               // no header at all
      "garbage line\n\x01\x02\x00\xff\n",               // binary junk
      "[HKEY_CURRENT_USER\\Ok\n\"Good\"=\"no\"\n",      // header without ']'
      "\"Good\"=\"no\"\n",                              // value before any section
      "[HKEY_CURRENT_USER\\Ok]\n\"Good\"=\"unterminated\n",
      "[HKEY_CURRENT_USER\\Ok]\n\"Good=\"x\"\n",
      "[HKEY_CURRENT_USER\\Ok]\n\"Bad\"=dword:123456789\n\"Bad2\"=dword:xyz\n",
      "[HKEY_CURRENT_USER\\Ok]\n\"Bad\"=hex:1,2,zz\n\"Bad2\"=hex(:01\n\"Bad3\"=hex:123\n",
      "[HKEY_CURRENT_USER\\Ok]\n\"Bad\"=\n\"Bad2\"\n=\n@\n\"\n",
      "[-HKEY_CURRENT_USER\\Ok]\n\"Good\"=\"no\"\n",       // deletion request, not a key
      "[HKEY_NOWHERE\\Ok]\n\"Good\"=\"no\"\n",            // unknown root
      "[HKEY_CURRENT_USER\\Ok]\n\"Long\"=\"" + std::string(5u << 20, 'x') + "\"\n",
      "[HKEY_CURRENT_USER\\Ok]\n\"Cont\"=hex:01,\\\n",  // continuation at the end of the file
      "[]\n[\n]\n[\\\\]\n",

  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    WriteFile(UserFile(), "REGEDIT4\n" + rows[i] + "\n" + good);
    auto got = store.GetValue(RegRoot::CurrentUser, "Ok", "Good");
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(CRegStore::TextOf(got.value), "yes");
    EXPECT_FALSE(store.GetValue(RegRoot::CurrentUser, "Ok", "Bad").ok());
    // The store stays writable and keeps what it understood.
    ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "Ok", "n", 1), platform::kRegOk);
    EXPECT_TRUE(store.GetValue(RegRoot::CurrentUser, "Ok", "Good").ok());
  }
}

TEST_F(RegStoreTest, ScrambledFilesNeverBreakTheStore) {
  const std::string pieces[] = {"[", "]", "\\", "\"", "=", "@", "hex:", "hex(2):", "dword:", ",", "\\\n", "\n", "\r\n",
                          "HKEY_CURRENT_USER", "Ok", "ff", "0", " ", ";", "-", std::string("\0", 1), "\xff"};
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
  for (int round = 0; round < 150; ++round) {
    std::string text = "REGEDIT4\n";
    int count = static_cast<int>(next() % 400);
    for (int i = 0; i < count; ++i) text += pieces[next() % std::size(pieces)];
    WriteFile(UserFile(), text);
    store.EnumSubKeys(RegRoot::CurrentUser, "");
    store.EnumValues(RegRoot::CurrentUser, "Ok");
    ASSERT_EQ(store.SetString(RegRoot::CurrentUser, "Ok\\Sub", "v", "x"), platform::kRegOk) << round;
    // What was written reads back, together with whatever survived from the scrambled text.
    auto got = store.GetValue(RegRoot::CurrentUser, "Ok\\Sub", "v");
    ASSERT_TRUE(got.ok()) << round;
    EXPECT_EQ(CRegStore::TextOf(got.value), "x");
  }
}

TEST_F(RegStoreTest, OversizedFileIsRefusedAndNotOverwritten) {
  WriteFile(UserFile(), "REGEDIT4\n");
  std::filesystem::resize_file(UserFile(), CRegStore::kMaxFileBytes + 1);
  EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, "", "x").error, platform::kRegBadFile);
  EXPECT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 1), platform::kRegBadFile);
  EXPECT_EQ(std::filesystem::file_size(UserFile()), CRegStore::kMaxFileBytes + 1);
}

TEST_F(RegStoreTest, SectionsOfOtherRootsSurviveRewrites) {
  WriteFile(UserFile(), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Stray]\n\"s\"=\"kept\"\n");
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 1), platform::kRegOk);
  EXPECT_NE(ReadFile(UserFile()).find("[HKEY_LOCAL_MACHINE\\Stray]\n\"s\"=\"kept\""), std::string::npos);
  EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, "Stray"));
}

TEST_F(RegStoreTest, WritesReplaceTheFileAtomically) {
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 1), platform::kRegOk);
  struct stat before {};
  ASSERT_EQ(::stat(UserFile().c_str(), &before), 0);
  EXPECT_EQ(before.st_mode & 0777, 0600u);  // per-user data stays private
  ASSERT_EQ(::chmod(UserFile().c_str(), 0640), 0);
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 2), platform::kRegOk);
  struct stat after {};
  ASSERT_EQ(::stat(UserFile().c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino);  // a new file renamed over the old one
  EXPECT_EQ(after.st_mode & 0777, 0640u);  // a chosen mode is kept

  // Nothing but the file and its lock file is left in the folder.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(UserFile()).parent_path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".user.reg.lock", "user.reg"}));
}

TEST_F(RegStoreTest, UnchangedWritesLeaveTheFileAlone) {
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 1), platform::kRegOk);
  struct stat before {};
  ASSERT_EQ(::stat(UserFile().c_str(), &before), 0);
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "k", "X", 1), platform::kRegOk);
  ASSERT_EQ(store.CreateKey(RegRoot::CurrentUser, "K"), platform::kRegOk);
  struct stat after {};
  ASSERT_EQ(::stat(UserFile().c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(RegStoreTest, UnwritableFolderFailsWithAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  std::filesystem::create_directories(Root() + "/config/Zelmar");
  ASSERT_EQ(::chmod((Root() + "/config/Zelmar").c_str(), 0500), 0);
  EXPECT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 1), platform::kRegAccessDenied);
}

TEST_F(RegStoreTest, BlockedPathsFailCleanly) {
  // The folder's place is taken by a file: nothing to read, nothing can be written.
  WriteFile(Root() + "/config/Zelmar", "not a folder");
  EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, "K", "x").error, platform::kRegNotFound);
  EXPECT_EQ(store.SetDword(RegRoot::CurrentUser, "K", "x", 1), platform::kRegCantWrite);
  EXPECT_EQ(ReadFile(Root() + "/config/Zelmar"), "not a folder");

  // The file's place is taken by a folder.
  std::filesystem::create_directories(MachineFile());
  EXPECT_EQ(store.GetValue(RegRoot::LocalMachine, "K", "x").error, platform::kRegBadFile);
  EXPECT_FALSE(store.KeyExists(RegRoot::LocalMachine, ""));
  EXPECT_EQ(store.SetDword(RegRoot::LocalMachine, "K", "x", 1), platform::kRegBadFile);
  EXPECT_TRUE(std::filesystem::is_directory(MachineFile()));
}

TEST_F(RegStoreTest, ConcurrentWritersLoseNoUpdate) {
  constexpr int kEach = 40;
  auto writer = [](const std::string& prefix) {
    CRegStore local;
    for (int i = 0; i < kEach; ++i) local.SetDword(RegRoot::CurrentUser, "K", prefix + std::to_string(i), i);
  };
  std::thread a(writer, "a"), b(writer, "b");
  a.join();
  b.join();
  EXPECT_EQ(store.EnumValues(RegRoot::CurrentUser, "K").values.size(), 2u * kEach);
}

TEST_F(RegStoreTest, SerialMapComesFromTheProviderAndIsNeverWritten) {
  WriteFile(MachineFile(),
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\n\"stale\"=\"COM9\"\n");
  const std::string key = "hardware\\devicemap\\serialcomm";
  // Without a provider the file answers.
  EXPECT_TRUE(store.GetValue(RegRoot::LocalMachine, key, "stale").ok());

  int calls = 0;
  CRegStore::SetSerialCommProvider([&] {
    ++calls;
    // The provider may read the store itself (explicit port entries live there).
    auto extra = CRegStore().GetValue(RegRoot::LocalMachine, "SOFTWARE\\Zelmar\\Corvane\\Ports", "COM7");
    platform::RegStringPairs pairs{{"/dev/ttyUSB0", "COM3"}, {"bad\nname", "COM4"}, {"/DEV/TTYUSB0", "COM5"}};
    if (extra.ok()) pairs.emplace_back(CRegStore::TextOf(extra.value), "COM7");
    return pairs;
  });
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, "SOFTWARE\\Zelmar\\Corvane\\Ports", "COM7", "/dev/ttyS7"),
            platform::kRegOk);

  auto values = store.EnumValues(RegRoot::LocalMachine, key);
  ASSERT_EQ(values.error, platform::kRegOk);
  ASSERT_EQ(values.values.size(), 2u);
  EXPECT_EQ(values.values[0].name, "/dev/ttyUSB0");
  EXPECT_EQ(values.values[0].type, platform::REG_SZ);
  EXPECT_EQ(values.values[0].data, Text("COM3"));
  EXPECT_EQ(values.values[1].name, "/dev/ttyS7");
  EXPECT_FALSE(store.GetValue(RegRoot::LocalMachine, key, "stale").ok());
  EXPECT_GT(calls, 0);
  const int callsBefore = calls;
  EXPECT_TRUE(store.KeyExists(RegRoot::LocalMachine, "SOFTWARE\\Zelmar"));  // off the map's line
  EXPECT_EQ(calls, callsBefore);
  EXPECT_TRUE(store.KeyExists(RegRoot::LocalMachine, "HARDWARE\\DEVICEMAP"));
  EXPECT_EQ(store.EnumSubKeys(RegRoot::LocalMachine, "HARDWARE\\DEVICEMAP").names,
            std::vector<std::string>{"SERIALCOMM"});

  const std::string fileBefore = ReadFile(MachineFile());
  EXPECT_EQ(store.SetString(RegRoot::LocalMachine, key, "x", "COM1"), platform::kRegAccessDenied);
  EXPECT_EQ(store.DeleteValue(RegRoot::LocalMachine, key, "/dev/ttyUSB0"), platform::kRegAccessDenied);
  EXPECT_EQ(store.DeleteKey(RegRoot::LocalMachine, key), platform::kRegAccessDenied);
  EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, key + "\\Sub"), platform::kRegAccessDenied);
  EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, key), platform::kRegOk);
  EXPECT_EQ(ReadFile(MachineFile()), fileBefore);
  // Other writes to the machine file leave the provider's values out of it.
  ASSERT_EQ(store.SetDword(RegRoot::LocalMachine, "SOFTWARE", "n", 1), platform::kRegOk);
  EXPECT_EQ(ReadFile(MachineFile()).find("COM3"), std::string::npos);
  // The same path under another root is ordinary.
  EXPECT_EQ(store.SetString(RegRoot::CurrentUser, key, "x", "COM1"), platform::kRegOk);

  CRegStore::SetSerialCommProvider({});
  EXPECT_TRUE(store.GetValue(RegRoot::LocalMachine, key, "stale").ok());
}

TEST_F(RegStoreTest, ThrowingProviderGivesAnEmptyMap) {
  CRegStore::SetSerialCommProvider([]() -> platform::RegStringPairs { throw std::runtime_error("no sysfs"); });
  auto values = store.EnumValues(RegRoot::LocalMachine, CRegStore::kSerialCommPath);
  EXPECT_EQ(values.error, platform::kRegOk);
  EXPECT_TRUE(values.values.empty());
}

}  // namespace
}  // namespace corvane::test
