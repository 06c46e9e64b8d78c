// Bad input gets a clear message and the documented status; every subcommand has its help.
#include <gtest/gtest.h>

#include <fstream>

#include "CliRun.h"

namespace clitest {
namespace {

struct UsageCase {
  std::vector<std::string> args;
  int status;
  const char* message;  // part of standard error
};
void PrintTo(const UsageCase& c, std::ostream* os) {
  for (const auto& a : c.args) *os << a << ' ';
}

class CliBadInput : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliBadInput, SaysWhatIsWrongWithItsStatus) {
  TempHome home;
  home.WriteSettings({"CommType=0", "ComPortNum=0"});
  std::ofstream(home.File("plain")) << "not a terminal";
  std::vector<std::string> args = GetParam().args;
  for (auto& a : args)
    if (a == "HOME/plain") a = home.File("plain");
  const CliResult r = RunCli(args, home.Path());
  EXPECT_EQ(r.status, GetParam().status) << r.err;
  EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty()) << r.out;  // nothing half-done on standard output
}

const std::string kIp = "127.0.0.1";

INSTANTIATE_TEST_SUITE_P(Usage, CliBadInput, ::testing::Values(
    UsageCase{{}, 2, "Usage: corvane-cli COMMAND"},
    UsageCase{{"frobnicate"}, 2, "unknown command \"frobnicate\""},
    UsageCase{{"read", "--bogus", kIp}, 2, "unknown option --bogus"},
    UsageCase{{"read", "-a"}, 2, "option --station needs a value"},
    UsageCase{{"read", "-c", "126", kIp}, 2, "count 126 is beyond the limit of function 3 (read holding registers): 1 to 125"},
    UsageCase{{"read", "-f", "1", "-c", "2001", kIp}, 2, "1 to 2000"},
    UsageCase{{"read", "-t", "float32", "-c", "63", kIp}, 2, "(63 float32 values)"},
    UsageCase{{"read", "-f", "6", kIp}, 2, "does not read"},
    UsageCase{{"read", "-t", "float", kIp}, 2, "\"float\" is no format"},
    UsageCase{{"read", "--word-order", "middle", kIp}, 2, "no word order"},
    UsageCase{{"read", "-r", "65536", kIp}, 2, "does not fit address (0 to 65535)"},
    UsageCase{{"read", "-r", "65535", "-c", "2", kIp}, 2, "run past address 65535"},
    UsageCase{{"read", "-a", "248", "COM1"}, 2, "does not fit station (0 to 247)"},
    UsageCase{{"read", "-a", "256", kIp}, 2, "does not fit unit id (0 to 255)"},
    UsageCase{{"read", "nowhere"}, 2, "\"nowhere\" is neither a serial port (COMn or a device path) nor an IPv4 address"},
    UsageCase{{"read", "300.1.1.1"}, 2, "neither a serial port"},
    UsageCase{{"read", kIp, "extra"}, 2, "unexpected argument \"extra\""},
    UsageCase{{"read", "-m", "tcp", "COM1"}, 2, "mode tcp does not go with COM1"},
    UsageCase{{"read", "-m", "modbus", "COM1"}, 2, "\"modbus\" is no mode"},
    UsageCase{{"read", "-b", "12345", "COM1"}, 2, "\"12345\" is no line speed"},
    UsageCase{{"read", "-P", "mark", "COM1"}, 2, "\"mark\" is no parity"},
    UsageCase{{"read", "-d", "9", "COM1"}, 2, "does not fit data bits (7 to 8)"},
    UsageCase{{"read", "-o", "0", "COM1"}, 2, "outside 0.01 to 60 seconds"},
    UsageCase{{"read", "-p", "0", kIp}, 2, "does not fit TCP port"},
    UsageCase{{"read", "127.0.0.1:99999"}, 2, "does not fit TCP port"},
    UsageCase{{"read", "-f", "1", "-t", "hex", kIp}, 2, "--format is for registers"},
    UsageCase{{"read"}, 2, "no serial port: CVN.ini names COM0"},
    UsageCase{{"write", kIp}, 2, "give the values to write"},
    UsageCase{{"write", kIp, "70000"}, 2, "\"70000\" does not fit unsigned (0 to 65535)"},
    UsageCase{{"write", "-t", "int32", kIp, "3000000000"}, 2, "does not fit int32"},
    UsageCase{{"write", "-t", "float32", kIp, "1e39"}, 2, "does not fit float32"},
    UsageCase{{"write", "-t", "hex", kIp, "12G4"}, 2, "is not a hexadecimal number"},
    UsageCase{{"write", "-f", "6", kIp, "1", "2"}, 2, "takes exactly one value, not 2"},
    UsageCase{{"write", "-f", "6", "-t", "float32", kIp, "1.5"}, 2, "takes exactly one value, not 2 (2 registers)"},
    UsageCase{{"write", "-f", "5", kIp, "maybe"}, 2, "\"maybe\" is no coil value"},
    UsageCase{{"write", "-f", "3", kIp, "1"}, 2, "function \"3\" does not write"},
    UsageCase{{"write", "-c", "2", kIp, "1"}, 2, "unknown option -c"},
    UsageCase{{"poll", "-i", "0", kIp}, 2, "interval \"0\" is outside 0.01 to 86400 seconds"},
    UsageCase{{"poll", "-n", "0", kIp}, 2, "does not fit times"},
    UsageCase{{"scan", "--first", "0", kIp}, 2, "does not fit --first (1 to 247)"},
    UsageCase{{"scan", "--first", "9", "--last", "3", kIp}, 2, "--first is above --last"},
    UsageCase{{"scan", "--speeds", "9600", kIp}, 2, "--speeds and --formats are for a serial line"},
    UsageCase{{"scan", "--formats", "8X1", "COM1"}, 2, "\"8X1\" is no line format"},
    UsageCase{{"project"}, 2, "say show or check"},
    UsageCase{{"project", "list", "x.cvn"}, 2, "say show or check"},
    UsageCase{{"project", "check", "/nonexistent/x.cvn"}, 2, "Cannot open \"/nonexistent/x.cvn\""},
    UsageCase{{"project", "check", "/"}, 2, "not a regular file"}));

INSTANTIATE_TEST_SUITE_P(Links, CliBadInput, ::testing::Values(
    UsageCase{{"read", "COM77"}, 3, "COM77: no serial device is mapped to this port"},
    UsageCase{{"read", "/nonexistent/ttyUSB9"}, 3, "/nonexistent/ttyUSB9: No such file or directory"},
    UsageCase{{"read", "HOME/plain"}, 3, "plain is not a serial device"},
    UsageCase{{"read", "127.0.0.1:1"}, 3, "127.0.0.1:1: TCP port 1: Connection refused"},
    UsageCase{{"scan", "127.0.0.1:1"}, 3, "refused"}));

TEST(CliSettings, LinkTypesOfCvnIniThatNameNoModbusLink) {
  const struct {
    std::vector<std::string> settings;
    const char* message;
  } rows[] = {
      {{"CommType=2"}, "the communication manager carries no Modbus requests"},
      {{"CommType=1", "IPAddress=FFFFFFFF"}, "no device address"},
      {{"CommType=1", "IPAddress=0"}, "no device address"},
      {{"CommType=7"}, "link type 7"},
  };
  for (const auto& row : rows) {
    TempHome home;
    home.WriteSettings(row.settings);
    const CliResult r = RunCli({"read"}, home.Path());
    EXPECT_EQ(r.status, 2) << row.message;
    EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
  }
}

TEST(CliHelp, EverySubcommandHasItsHelp) {
  TempHome home;
  for (const std::string name : {"ports", "search", "read", "write", "poll", "scan", "project"}) {
    const CliResult r = RunCli({name, "--help"}, home.Path());
    EXPECT_EQ(r.status, 0) << name << r.err;
    EXPECT_EQ(r.out.rfind("Usage: corvane-cli " + name, 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Exit status"), std::string::npos) << name;
    EXPECT_EQ(RunCli({"help", name}, home.Path()).out, r.out);
  }
  const CliResult overview = RunCli({"--help"}, home.Path());
  EXPECT_EQ(overview.status, 0);
  for (const std::string name : {"ports", "search", "read", "write", "poll", "scan", "project"})
    EXPECT_NE(overview.out.find("  " + name + " "), std::string::npos) << name;
  const CliResult version = RunCli({"--version"}, home.Path());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("corvane-cli ", 0), 0u);
}

}  // namespace
}  // namespace clitest
