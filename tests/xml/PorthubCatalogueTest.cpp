// The communication manager's driver catalogue: file loading, encodings and every getter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "comm/CPORTHUB.h"
#include "comm/CRegistryAccess.h"
#include "widgets/CUtf8.h"

namespace corvane::comm {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTwoDrivers =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
    "<PortHub>\n"
    "  <Driver DriverName=\"Driver1\" DriverID=\"17\" CommInterface=\"1\" DriverStatus=\"1\"\n"
    "          TimeOutRetryTime=\"3\" TimeOutInterval=\"500\">\n"
    "    <ComInfo PortNumber=\"3\" PLCStationNum=\"1\" BaudRate=\"9600\" DataBits=\"8\" StopBit=\"1\""
    " ParityBit=\"2\"/>\n"
    "  </Driver>\n"
    "  <Driver DriverName=\"Driver2\" DriverID=\"18\" CommInterface=\"3\" DriverStatus=\"0\""
    " TimeOutRetryTime=\"5\" TimeOutInterval=\"1000\">\n"
    "    <ComInfo PortNumber=\"7\"/>\n"
    "  </Driver>\n"
    "</PortHub>\n";

// Each test gets its own folder and its own registry files.
class PorthubTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("porthub-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir / "PORTHUB");
    Save("PROGRAMDATA", m_oldProgramData);
    Save("XDG_CONFIG_HOME", m_oldXdg);
    ::setenv("PROGRAMDATA", (m_dir / "programdata").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
  }
  void TearDown() override {
    Restore("PROGRAMDATA", m_oldProgramData);
    Restore("XDG_CONFIG_HOME", m_oldXdg);
    fs::remove_all(m_dir);
  }

  // The manager's folder with its trailing separator, as it is registered.
  std::string Folder() const { return (m_dir / "PORTHUB").string() + "/"; }
  void WriteCatalogue(const std::string& bytes) const {
    std::ofstream(Folder() + "DriverInfo.dri", std::ios::binary) << bytes;
  }
  CPORTHUB Loaded(const std::string& text) const {
    WriteCatalogue(text);
    CPORTHUB hub;
    EXPECT_TRUE(hub.Load(Folder()));
    return hub;
  }

  fs::path m_dir;

private:
  static void Save(const char* name, std::optional<std::string>& slot) {
    if (const char* v = std::getenv(name)) slot = v;
  }
  static void Restore(const char* name, const std::optional<std::string>& slot) {
    if (slot) ::setenv(name, slot->c_str(), 1);
    else ::unsetenv(name);
  }
  std::optional<std::string> m_oldProgramData, m_oldXdg;
};

std::string Utf16Le(const std::string& utf8, bool mark = true) {
  // Test input is ASCII plus the few characters each test needs.
  std::string out = mark ? "\xFF\xFE" : "";
  for (unsigned char c : utf8) {
    out.push_back(static_cast<char>(c));
    out.push_back('\0');
  }
  return out;
}

TEST_F(PorthubTest, TwoDrivers) {
  CPORTHUB hub = Loaded(kTwoDrivers);
  EXPECT_EQ(hub.GetDriverCount(), 2);
  EXPECT_EQ(hub.GetDriverName(0), "Driver1");
  EXPECT_EQ(hub.GetDriverName(1), "Driver2");
  EXPECT_EQ(hub.GetDriverName(2), "");
  EXPECT_EQ(hub.GetDriverName(-1), "");
  EXPECT_EQ(hub.GetPortNumber("Driver1"), 3);
  EXPECT_EQ(hub.GetPortNumber("Driver2"), -1);  // Ethernet: its ComInfo is not read
  EXPECT_EQ(hub.GetCommInterface("Driver9"), -1);
  EXPECT_EQ(hub.GetCommInterface("driver1"), -1);  // names compare case-sensitively
  EXPECT_EQ(hub.GetDriverID("Driver1 "), -1);      // whole text
  EXPECT_EQ(hub.GetCommInterface(""), -1);
}

struct GetterRow {
  const char* label;
  std::function<std::int32_t(const CPORTHUB&, const std::string&)> get;
  std::int32_t driver1, driver2, missing;
};

TEST_F(PorthubTest, EveryGetterByName) {
  const GetterRow rows[] = {
      {"DriverID", &CPORTHUB::GetDriverID, 17, 18, -1},
      {"CommInterface", &CPORTHUB::GetCommInterface, 1, 3, -1},
      {"DriverStatus", &CPORTHUB::GetDriverStatus, 1, 0, -1},
      {"TimeOutRetryTime", &CPORTHUB::GetTimeOutRetryTime, 3, 5, -1},
      {"TimeOutInterval", &CPORTHUB::GetTimeOutInterval, 500, 1000, -1},
      {"PortNumber", &CPORTHUB::GetPortNumber, 3, -1, -1},
      {"PLCStationNum", &CPORTHUB::GetPLCStationNum, 1, -1, -1},
      {"BaudRate", &CPORTHUB::GetBaudRate, 9600, -1, -1},
      {"DataBits", &CPORTHUB::GetDataBits, 8, -1, -1},
      {"StopBit", &CPORTHUB::GetStopBit, 1, -1, -1},
      {"ParityBit", &CPORTHUB::GetParityBit, 2, -1, -1},
  };
  CPORTHUB hub = Loaded(kTwoDrivers);
  for (const auto& row : rows) {
    EXPECT_EQ(row.get(hub, "Driver1"), row.driver1) << row.label;
    EXPECT_EQ(row.get(hub, "Driver2"), row.driver2) << row.label;
    EXPECT_EQ(row.get(hub, "Nobody"), row.missing) << row.label;
  }
  // Queries do not disturb each other, in any order.
  EXPECT_EQ(hub.GetDriverName(1), "Driver2");
  EXPECT_EQ(hub.GetPortNumber("Driver1"), 3);
  EXPECT_EQ(hub.GetDriverCount(), 2);
}

TEST_F(PorthubTest, SerialDriverWithoutComInfoGivesZero) {
  CPORTHUB hub = Loaded("<r><Driver DriverName='Driver4' CommInterface='1'/>"
                        "<Driver DriverName='Driver5' CommInterface='2'><Other PortNumber='9'/></Driver></r>");
  EXPECT_EQ(hub.GetPortNumber("Driver4"), 0);
  EXPECT_EQ(hub.GetBaudRate("Driver4"), 0);
  EXPECT_EQ(hub.GetPortNumber("Driver5"), 0);
}

TEST_F(PorthubTest, UsbDriverReadsItsComInfo) {
  CPORTHUB hub = Loaded("<r><Driver DriverName='Driver6' CommInterface=' +2'>"
                        "<x/><ComInfo PortNumber='11'/><ComInfo PortNumber='12'/></Driver></r>");
  EXPECT_EQ(hub.GetPortNumber("Driver6"), 11);  // the first ComInfo
}

TEST_F(PorthubTest, MissingOrNonNumericAttributesGiveZero) {
  CPORTHUB hub = Loaded("<r><Driver DriverName='Driver3' CommInterface='3' DriverStatus='on'/></r>");
  EXPECT_EQ(hub.GetDriverID("Driver3"), 0);
  EXPECT_EQ(hub.GetDriverStatus("Driver3"), 0);
  EXPECT_EQ(hub.GetCommInterface("Driver3"), 3);
}

TEST_F(PorthubTest, TheFirstDriverOfANameDecides) {
  CPORTHUB hub = Loaded("<r><Driver DriverName='D' DriverID='1' CommInterface='3'/>"
                        "<Driver DriverName='D' DriverID='2' CommInterface='1'><ComInfo PortNumber='5'/></Driver></r>");
  EXPECT_EQ(hub.GetDriverCount(), 2);
  EXPECT_EQ(hub.GetDriverID("D"), 1);
  EXPECT_EQ(hub.GetPortNumber("D"), -1);
}

TEST_F(PorthubTest, OnlyDriverChildrenOfTheTopLevelElementCount) {
  CPORTHUB hub = Loaded("<r><driver DriverName='a'/><Group><Driver DriverName='b'/></Group>"
                        "<Driver DriverName='c'/></r><Driver DriverName='d'/>");
  EXPECT_EQ(hub.GetDriverCount(), 1);
  EXPECT_EQ(hub.GetDriverName(0), "c");
  EXPECT_EQ(hub.GetDriverID("b"), -1);
}

TEST_F(PorthubTest, Utf16FileReadsLikeItsNarrowForm) {
  CPORTHUB narrow = Loaded(kTwoDrivers);
  CPORTHUB wide = Loaded(Utf16Le(kTwoDrivers));
  EXPECT_EQ(wide.GetCatalogueText(), narrow.GetCatalogueText());
  EXPECT_EQ(wide.GetDriverCount(), 2);
  EXPECT_EQ(wide.GetDriverName(1), "Driver2");
  EXPECT_EQ(wide.GetPortNumber("Driver1"), 3);
  EXPECT_EQ(wide.GetTimeOutInterval("Driver2"), 1000);
}

TEST_F(PorthubTest, Utf16NamesBecomeUtf8) {
  // "Drïver😀" in UTF-16LE: ï is one unit, the emoji a surrogate pair.
  const std::string bytes = Utf16Le("<r><Driver DriverName='Dr") + std::string("\xEF\x00", 2) +
          Utf16Le("ver", false) + std::string("\x3D\xD8\x00\xDE", 4) + Utf16Le("' DriverID='4'/></r>", false);
  CPORTHUB hub = Loaded(bytes);
  EXPECT_EQ(hub.GetDriverName(0), "Dr\xC3\xAFver\xF0\x9F\x98\x80");
  EXPECT_EQ(hub.GetDriverID("Dr\xC3\xAFver\xF0\x9F\x98\x80"), 4);
}

TEST_F(PorthubTest, WithoutTheMarkBytesStandAsTheyAre) {
  EXPECT_EQ(CPORTHUB::DecodeFile("\xFE\xFF<a/>"), "\xFE\xFF<a/>");
  EXPECT_EQ(CPORTHUB::DecodeFile("\xFF"), "\xFF");
  EXPECT_EQ(CPORTHUB::DecodeFile("\xFF\xFE"), "");
  EXPECT_EQ(CPORTHUB::DecodeFile(std::string("\xFF\xFE<\0", 4)), "<");
}

TEST_F(PorthubTest, FolderWithoutTrailingSeparatorIsNotFound) {
  WriteCatalogue(kTwoDrivers);
  std::string folder = Folder();
  folder.pop_back();
  CPORTHUB hub;
  EXPECT_FALSE(hub.Load(folder));  // ".../PORTHUBDriverInfo.dri"
  EXPECT_EQ(hub.GetDriverCount(), 0);
  EXPECT_EQ(hub.GetDriverName(0), "");
  EXPECT_EQ(hub.GetDriverID("Driver1"), -1);
  EXPECT_EQ(hub.GetPortNumber("Driver1"), -1);
}

TEST_F(PorthubTest, EmptyFolderLoadsNothing) {
  CPORTHUB hub;
  EXPECT_FALSE(hub.Load(""));
  EXPECT_EQ(hub.GetCatalogueText(), "");
  EXPECT_EQ(hub.GetDriverCount(), 0);
}

TEST_F(PorthubTest, FailedLoadKeepsThePreviousCatalogue) {
  CPORTHUB hub = Loaded(kTwoDrivers);
  EXPECT_FALSE(hub.Load((m_dir / "elsewhere").string() + "/"));
  EXPECT_FALSE(hub.Load(""));
  EXPECT_EQ(hub.GetDriverCount(), 2);
}

TEST_F(PorthubTest, FolderWithANulIsRefused) {
  WriteCatalogue(kTwoDrivers);
  CPORTHUB hub;
  // Cut at the NUL, the path would name the catalogue itself.
  EXPECT_FALSE(hub.Load(Folder() + "DriverInfo.dri" + std::string(1, '\0') + "/"));
  EXPECT_EQ(hub.GetDriverCount(), 0);
}

TEST_F(PorthubTest, OversizedFileIsRefused) {
  CPORTHUB hub = Loaded("<r><Driver DriverName='small'/></r>");
  std::string big = "<r><Driver DriverName='big'/>";
  big.resize(CPORTHUB::kMaxFileBytes + 1, ' ');
  WriteCatalogue(big);
  EXPECT_FALSE(hub.Load(Folder()));
  EXPECT_EQ(hub.GetDriverName(0), "small");
}

TEST_F(PorthubTest, DirectoryInPlaceOfTheFileIsRefused) {
  fs::create_directories(Folder() + "DriverInfo.dri");
  CPORTHUB hub;
  EXPECT_FALSE(hub.Load(Folder()));
  EXPECT_EQ(hub.GetDriverCount(), 0);
}

TEST_F(PorthubTest, MalformedCatalogueUsesWhatWasRecognised) {
  CPORTHUB hub = Loaded("<r><Driver DriverName='Driver1' CommInterface='1'><ComInfo PortNumber='2'>"
                        "<Driver DriverName='broken");
  EXPECT_EQ(hub.GetDriverCount(), 1);
  EXPECT_EQ(hub.GetPortNumber("Driver1"), 2);
  CPORTHUB garbage = Loaded("\x01\x02 not xml at all <<<>>>");
  EXPECT_EQ(garbage.GetDriverCount(), 0);
}

struct DecimalRow {
  const char* text;
  std::int32_t value;
};

TEST(PorthubDecimal, Table) {
  const DecimalRow rows[] = {
      {"", 0},           {"7", 7},          {"  42", 42},         {"\t-5", -5},      {"+8", 8},
      {"12abc", 12},     {"abc", 0},        {"-", 0},             {" - 3", 0},       {"0x10", 0},
      {"2147483647", 2147483647},           {"-2147483648", -2147483647 - 1},
      {"99999999999999999999", 2147483647}, {"-99999999999999999999", -2147483647 - 1},
  };
  for (const auto& row : rows) EXPECT_EQ(CPORTHUB::ToDecimal(row.text), row.value) << row.text;
}

constexpr const char* kAppPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\PORTHUB.exe";

TEST_F(PorthubTest, InstallPathFromTheAppPathsEntry) {
  CPORTHUB hub;
  EXPECT_EQ(hub.GetInstallPath(), "");  // not registered

  CRegistryAccess reg;
  ASSERT_TRUE(reg.SetRootKey(HKEY_LOCAL_MACHINE));
  ASSERT_TRUE(reg.CreateKey(kAppPath));
  EXPECT_EQ(hub.GetInstallPath(), "");  // the key without its Path value
  ASSERT_TRUE(reg.WriteString("Path", Folder()));
  EXPECT_EQ(hub.GetInstallPath(), Folder());

  WriteCatalogue(kTwoDrivers);
  EXPECT_TRUE(hub.Load(hub.GetInstallPath()));
  EXPECT_EQ(hub.GetDriverCount(), 2);
}

TEST_F(PorthubTest, InstallPathNeedsAStringValue) {
  CRegistryAccess reg;
  ASSERT_TRUE(reg.SetRootKey(HKEY_LOCAL_MACHINE));
  ASSERT_TRUE(reg.CreateKey(kAppPath));
  ASSERT_TRUE(reg.WriteDword("Path", 5));
  EXPECT_EQ(CPORTHUB().GetInstallPath(), "");
}

TEST_F(PorthubTest, InstallPathIsReadFromTheLocalMachineOnly) {
  CRegistryAccess reg;
  ASSERT_TRUE(reg.SetRootKey(HKEY_CURRENT_USER));
  ASSERT_TRUE(reg.CreateKey(kAppPath));
  ASSERT_TRUE(reg.WriteString("Path", Folder()));
  EXPECT_EQ(CPORTHUB().GetInstallPath(), "");
}

}  // namespace
}  // namespace corvane::comm
