// corvane-cli search on a serial line: what it lists, and its statuses and messages.
#include <gtest/gtest.h>

#include "CliSimFixture.h"

namespace clitest {
namespace {

// The demo installation's catalogue, also where the build copies none beside the executable.
const std::string kCatalogue = CORVANE_SOURCE_DIR "/modules/demo/Modules.ini";

TEST_F(CliSimTest, SerialSearchListsTheDeviceWithItsSubModules) {
  StartSim({"--no-tcp", "--com", "5", "--device", "code=0x0015 station=3 sub=0x4041,0x9999"});
  m_home.WriteSettings({"CommType=0", "ComPortNum=5", "BaudRate=19200", "DataLen=8", "Parity=2", "ModbusMode=1",
                        "StationAddr=3"});
  const CliResult r = Cli({"search", "serial", "-q", "--catalogue", kCatalogue});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u) << r.out;
  EXPECT_EQ(lines[0], "code  name  group     address         sub-modules");
  // 9999 is heard but not in the catalogue: listed without a name.
  EXPECT_EQ(lines[1], "0015  AD15  Ethernet  COM5 station 3  4041 SMX-4041, 9999");
  EXPECT_TRUE(r.err.empty()) << r.err;
  // The same line by its device path, in ASCII where the device answers ASCII too.
  const CliResult byPath = Cli({"search", "serial", Pty(), "-m", "ascii", "-a", "3", "--json", "-q", "--catalogue", kCatalogue});
  ASSERT_EQ(byPath.status, 0) << byPath.err;
  EXPECT_NE(byPath.out.find("\"modules\":[\"0015\",\"4041\"]"), std::string::npos) << byPath.out;
}

TEST_F(CliSimTest, SearchStatusesAndMessages) {
  StartSim({"--no-tcp", "--com", "5", "--device", "code=0x0015 station=1 fault=noreply"});
  m_home.WriteSettings({"CommType=0", "ComPortNum=5", "BaudRate=19200", "ModbusMode=1"});
  const CliResult silent = Cli({"search", "-q", "--catalogue", kCatalogue});
  EXPECT_EQ(silent.status, 1);
  EXPECT_NE(silent.err.find("Device not found! Please check the device connection."), std::string::npos) << silent.err;
  EXPECT_TRUE(silent.out.empty());

  const CliResult noPort = Cli({"search", "serial", "COM6", "-q"});
  EXPECT_EQ(noPort.status, 3);
  EXPECT_NE(noPort.err.find("Cannot open the specified communication!"), std::string::npos) << noPort.err;
  EXPECT_NE(noPort.err.find("COM6"), std::string::npos) << noPort.err;

  const struct {
    std::vector<std::string> args;
    const char* message;
  } usage[] = {
      {{"search", "ip"}, "no device address"},
      {{"search", "broadcast", "127.0.0.2"}, "search broadcast takes no target"},
      {{"search", "ip", "127.0.0.2:1502"}, "port 502"},
      {{"search", "ip", "-p", "1502", "127.0.0.2"}, "-p does not apply"},
      {{"search", "serial", "127.0.0.2"}, "search serial takes COMn or a device path"},
      {{"search", "ip", "COM5"}, "search ip takes an IPv4 address"},
      {{"search", "serial", "COM5", "extra"}, "unexpected argument"},
  };
  for (const auto& row : usage) {
    const CliResult r = Cli(row.args);
    EXPECT_EQ(r.status, 2) << row.message;
    EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace clitest
