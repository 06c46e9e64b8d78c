#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "comm/CommConf.h"
#include "settings/CIni.h"

using namespace corvane;
namespace fs = std::filesystem;

namespace {

class CommConfFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/corvane-commconf-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir = tmpl;
    ::setenv("PROGRAMDATA", dir.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    path = (dir / "CVN.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  void WriteFile(const std::string& text) { std::ofstream(path) << text; }
  std::string ReadFile() {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir;
  std::string path;
};

TEST_F(CommConfFileTest, NoFileGivesFileDefaults) {
  CIni ini(path);
  CommConf c;
  LoadCommConf(ini, c);
  EXPECT_EQ(c.ComPortNum, 0);
  EXPECT_EQ(c.PorthubCOM, 1);
  EXPECT_EQ(c.DataLen, 7);
  EXPECT_EQ(c.Parity, 2);
  EXPECT_EQ(c.IPAddress, -1);
  EXPECT_EQ(c.HostIPAddr, -1);
  EXPECT_EQ(c.PorthubDrv, -1);
}

TEST_F(CommConfFileTest, SaveWritesTableOrderAndEncodings) {
  CIni ini(path);
  CommConf c;
  c.IPAddress = static_cast<std::int32_t>(0xC0A80105u);
  c.HostIPAddr = 0x0A000001;
  SaveCommConf(ini, c);
  const std::string text = ReadFile();
  EXPECT_NE(text.find("IPAddress=C0A80105"), std::string::npos) << text;
  EXPECT_NE(text.find("HostIPAddr=A000001"), std::string::npos) << text;
  EXPECT_NE(text.find("PorthubDrv=-1"), std::string::npos) << text;
  std::size_t at = 0;
  for (const CommConfKey& k : kCommConfKeys) {
    const std::size_t found = text.find(std::string(k.key) + "=", at);
    ASSERT_NE(found, std::string::npos) << k.key;
    at = found;
  }
  CommConf back;
  LoadCommConf(ini, back);
  EXPECT_EQ(static_cast<std::uint32_t>(back.IPAddress), 0xC0A80105u);
  EXPECT_EQ(back.HostIPAddr, 0x0A000001);
  EXPECT_EQ(back.PorthubDrv, -1);
  EXPECT_EQ(back.ComPortNum, 1);
}

TEST_F(CommConfFileTest, ValueTexts) {
  WriteFile("[CommConf]\nIPAddress=FFFFFFFF\nHostIPAddr=0xC0A80105\nBaudRate=12abc\nStationAddr=abc\nDataLen=\n"
            "PorthubDrvID=-1\nComPortNum=  7\n");
  CIni ini(path);
  CommConf c;
  LoadCommConf(ini, c);
  EXPECT_EQ(c.IPAddress, -1);
  EXPECT_EQ(static_cast<std::uint32_t>(c.HostIPAddr), 0xC0A80105u);
  EXPECT_EQ(c.BaudRate, 12);
  EXPECT_EQ(c.StationAddr, 0);
  EXPECT_EQ(c.DataLen, 7);  // empty: the default
  EXPECT_EQ(c.PorthubDrvID, -1);
  EXPECT_EQ(c.ComPortNum, 7);
}

}  // namespace
