// read, write and poll against the simulator over loopback TCP and a pseudo-terminal.
#include <gtest/gtest.h>

#include <regex>

#include "CliSimFixture.h"

namespace clitest {
namespace {

// Registers holding one value in several formats and orders.
const std::string kDevice =
    "code=0x0015 station=1 reg=0:0x3FC0,1:0,2:0,3:0x3FC0,4:0xC03F,5:0,6:0xFFFF,7:0,10:0x3FF8,11:0,12:0,13:0,"
    "20:0x1234,21:0x5678 coil=0:1,2:1 discrete=1:1 input=3:0xBEEF";

struct FormatCase {
  std::vector<std::string> options;
  const char* shown;  // the value as --json carries it
};
void PrintTo(const FormatCase& c, std::ostream* os) {
  for (const auto& a : c.options) *os << a << ' ';
}

class CliReadFormats : public CliSimTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CliReadFormats, ShowsTheRegistersInTheFormat) {
  StartSim({"--no-pty", "--device", kDevice});
  std::vector<std::string> args = {"read", Tcp(), "-a", "1", "--json"};
  args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
  const CliResult r = Cli(args);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(std::string("\"value\":") + GetParam().shown + "}"), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Table, CliReadFormats, ::testing::Values(
    FormatCase{{"-r", "6"}, "65535"},
    FormatCase{{"-r", "6", "-t", "signed"}, "-1"},
    FormatCase{{"-r", "6", "-t", "hex"}, "\"0xFFFF\""},
    FormatCase{{"-r", "20", "-t", "binary"}, "\"0b0001001000110100\""},
    FormatCase{{"-r", "20", "-t", "uint32"}, "305419896"},
    FormatCase{{"-r", "20", "-t", "uint32", "--word-order", "little"}, "1450709556"},
    FormatCase{{"-r", "6", "-t", "int32"}, "-65536"},
    FormatCase{{"-r", "0", "-t", "float32"}, "1.5"},
    FormatCase{{"-r", "2", "-t", "float32", "--word-order", "little"}, "1.5"},
    FormatCase{{"-r", "4", "-t", "float32", "--byte-order", "little"}, "1.5"},
    FormatCase{{"-r", "10", "-t", "float64"}, "1.5"},
    FormatCase{{"-f", "1", "-r", "2"}, "1"},
    FormatCase{{"-f", "2", "-r", "1"}, "1"},
    FormatCase{{"-f", "4", "-r", "3", "-t", "hex"}, "\"0xBEEF\""}));

TEST_F(CliSimTest, WrittenValuesReadBackInEveryFormatAndOrder) {
  StartSim({"--no-pty"});
  const struct {
    std::vector<std::string> format;
    const char* value;
  } rows[] = {
      {{"-t", "signed"}, "-12345"},
      {{"-t", "hex"}, "0xABCD"},
      {{"-t", "binary"}, "0b1010000000000101"},
      {{"-t", "uint32", "--word-order", "little"}, "4000000000"},
      {{"-t", "int32", "--byte-order", "little"}, "-2000000000"},
      {{"-t", "float32", "--word-order", "little", "--byte-order", "little"}, "-0.1"},
      {{"-t", "float64"}, "2.718281828459045"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> write = {"write", Tcp(), "-r", "100"};
    write.insert(write.end(), row.format.begin(), row.format.end());
    write.insert(write.end(), {"--", row.value, row.value});
    const CliResult w = Cli(write);
    ASSERT_EQ(w.status, 0) << row.value << w.err;
    EXPECT_NE(w.out.find("wrote"), std::string::npos);
    std::vector<std::string> read = {"read", Tcp(), "-r", "100", "-c", "2"};
    read.insert(read.end(), row.format.begin(), row.format.end());
    const CliResult r = Cli(read);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 3u) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);
    EXPECT_NE(r.out.find(row.value), std::string::npos) << row.value << "\n" << r.out;
  }
}

TEST_F(CliSimTest, CoilsWrittenOneAndManyReadBack) {
  StartSim({"--no-pty"});
  ASSERT_EQ(Cli({"write", Tcp(), "-f", "15", "-r", "8", "1", "0", "on", "true", "off"}).status, 0);
  ASSERT_EQ(Cli({"write", Tcp(), "-f", "5", "-r", "9", "on"}).status, 0);
  const CliResult r = Cli({"read", Tcp(), "-f", "1", "-r", "8", "-c", "5", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"values\":[{\"address\":8,\"value\":1},{\"address\":9,\"value\":1},{\"address\":10,\"value\":1},"
                       "{\"address\":11,\"value\":1},{\"address\":12,\"value\":0}]"),
            std::string::npos)
      << r.out;
}

TEST_F(CliSimTest, SerialRtuAndAsciiOnThePtyByPathAndByComName) {
  StartSim({"--no-tcp", "--com", "5", "--device", kDevice});
  for (const std::string mode : {"rtu", "ascii"}) {
    const CliResult byPath = Cli({"read", Pty(), "-m", mode, "-a", "1", "-r", "20", "-c", "2", "-t", "hex"});
    ASSERT_EQ(byPath.status, 0) << mode << byPath.err;
    EXPECT_NE(byPath.out.find("20       0x1234\n21       0x5678\n"), std::string::npos) << byPath.out;
    const CliResult byCom = Cli({"read", "com5", "-m", mode, "-a", "1", "-r", "0", "-t", "float32", "-b", "115200"});
    ASSERT_EQ(byCom.status, 0) << mode << byCom.err;
    EXPECT_NE(byCom.out.find("1.5"), std::string::npos);
  }
}

TEST_F(CliSimTest, EveryLinkOptionDefaultsToCvnIni) {
  StartSim({"--com", "5", "--stations", "7", "--device", kDevice});
  m_home.WriteSettings({"CommType=1", "IPAddress=7F000001", "StationAddr=7"});
  const CliResult tcp = Cli({"read", "-p", TcpPort(), "-r", "6"});
  ASSERT_EQ(tcp.status, 0) << tcp.err;
  EXPECT_NE(tcp.out.find("65535"), std::string::npos);
  m_home.WriteSettings({"CommType=0", "ComPortNum=5", "BaudRate=19200", "DataLen=8", "Parity=0", "ModbusMode=1",
                        "StationAddr=7"});
  const CliResult serial = Cli({"read", "-r", "6", "--json"});
  ASSERT_EQ(serial.status, 0) << serial.err;
  EXPECT_NE(serial.out.find("\"link\":\"COM5\",\"station\":7"), std::string::npos) << serial.out;
  // An option overrides its key only.
  EXPECT_EQ(Cli({"read", "-a", "8", "-o", "0.2"}).status, 1);
}

TEST_F(CliSimTest, ExceptionsSilenceAndBadRepliesEndWithStatus1) {
  StartSim({"--no-pty", "--stations", "1,2,3", "--device", "fault=exception:2,count:1"});
  const CliResult exception = Cli({"read", Tcp(), "-a", "1"});
  EXPECT_EQ(exception.status, 1);
  EXPECT_NE(exception.err.find("station 1 answered with exception 02 (illegal data address)"), std::string::npos) << exception.err;
  EXPECT_EQ(Cli({"read", Tcp(), "-a", "1"}).status, 0);  // the fault hit the first reply only
  const CliResult silent = Cli({"read", Tcp(), "-a", "4", "-o", "0.2"});
  EXPECT_EQ(silent.status, 1);
  EXPECT_NE(silent.err.find("no answer from station 4: time-out"), std::string::npos) << silent.err;
  const CliResult write = Cli({"write", Tcp(), "-a", "2", "-r", "0", "7"});
  EXPECT_EQ(write.status, 1);  // station 2's first reply is its exception
  EXPECT_NE(write.err.find("station 2 answered with exception 02"), std::string::npos) << write.err;
}

// Splits one CSV record (RFC 4180: quoted fields with doubled quotes).
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') fields.back() += '"', ++i;
    else if (c == '"') quoted = !quoted;
    else if (c == ',' && !quoted) fields.emplace_back();
    else fields.back() += c;
  }
  EXPECT_FALSE(quoted) << line;
  return fields;
}

const std::regex kStamp(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)");

TEST_F(CliSimTest, PollWritesWellFormedCsvAndGoesOnAfterAFailedRead) {
  StartSim({"--no-pty", "--device", kDevice + " fault=exception:6,count:2"});
  const CliResult r = Cli({"poll", Tcp(), "-a", "1", "-r", "20", "-c", "2", "-t", "hex", "-n", "4", "-i", "0.05"});
  EXPECT_EQ(r.status, 1) << r.err;  // two reads failed
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 5u) << r.out;
  EXPECT_EQ(lines[0], "time,20,21,error");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto f = CsvFields(lines[i]);
    ASSERT_EQ(f.size(), 4u) << lines[i];
    EXPECT_TRUE(std::regex_match(f[0], kStamp)) << f[0];
    if (i <= 2) {
      EXPECT_EQ(f[1], "");
      EXPECT_EQ(f[3], "station 1 answered with exception 06 (server device busy)");
    } else {
      EXPECT_EQ(f[1], "0x1234");
      EXPECT_EQ(f[2], "0x5678");
      EXPECT_EQ(f[3], "");
    }
  }
}

TEST_F(CliSimTest, PollRunsUntilInterruptedAndWritesJsonLines) {
  StartSim({"--no-pty", "--device", kDevice});
  const CliResult r = RunCliUntilTerminated({"poll", Tcp(), "-r", "6", "-i", "0.05"}, m_home.Path(),
                                            std::chrono::milliseconds(600), 4);
  EXPECT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_GE(lines.size(), 4u) << r.out;
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(CsvFields(lines[i]).size(), 3u) << lines[i];
  EXPECT_EQ(r.out.back(), '\n');  // the last row is whole

  const CliResult json = Cli({"poll", Tcp(), "-r", "6", "-c", "2", "-t", "signed", "-n", "2", "-i", "0.02", "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const auto rows = Lines(json.out);
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& row : rows) EXPECT_TRUE(std::regex_match(row, std::regex(R"(\{"time":"[^"]+","values":\[-1,0\]\})"))) << row;
}

}  // namespace
}  // namespace clitest
