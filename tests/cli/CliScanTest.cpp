// corvane-cli scan finds the stations the simulator serves, and nothing else, over TCP and a pty.
#include <gtest/gtest.h>

#include "CliSimFixture.h"

namespace clitest {
namespace {

// A table's line with each run of blanks as one.
std::string Words(const std::string& line) {
  std::string out;
  for (const char c : line)
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
  return out;
}

// The station column of a scan's table.
std::vector<std::string> Stations(const std::string& table) {
  std::vector<std::string> stations;
  const auto lines = Lines(table);
  for (std::size_t i = 1; i < lines.size(); ++i) stations.push_back(lines[i].substr(0, lines[i].find(' ')));
  return stations;
}

TEST_F(CliSimTest, ScanOverTcpFindsExactlyTheServedStationsWithTheirIdentification) {
  StartSim({"--no-pty", "--stations", "3,17,200", "--device", "code=0x0015", "--device", "station=30 ident=none"});
  const CliResult r = Cli({"scan", Tcp(), "-o", "0.05"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Stations(r.out), (std::vector<std::string>{"3", "17", "30", "200"})) << r.out;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(Words(lines[0]), "station line answer vendor product revision");
  EXPECT_EQ(Words(lines[1]), "3 " + Tcp() + " data Zelmar 0015 1.00");
  EXPECT_EQ(Words(lines[3]), "30 " + Tcp() + " data - - -");  // no identification
  // Progress on standard error, in lines a log keeps.
  EXPECT_NE(r.err.find("100 of 247 asked, 3 found"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("scan: 4 station(s) found"), std::string::npos) << r.err;

  const CliResult json = Cli({"scan", Tcp(), "-o", "0.05", "--first", "10", "--last", "40", "--json", "-q"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_TRUE(json.err.empty()) << json.err;
  EXPECT_NE(json.out.find("{\"station\":17,"), std::string::npos);
  EXPECT_NE(json.out.find("{\"id\":0,\"name\":\"VendorName\",\"value\":\"Zelmar\"}"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("{\"station\":30,\"line\":\"" + Tcp() + "\",\"exception\":null,\"identification\":null}"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(json.out.find("\"station\":3,"), std::string::npos);
}

TEST_F(CliSimTest, ScanOfASerialLineOverSpeedsAndFormats) {
  StartSim({"--no-tcp", "--mode", "rtu", "--stations", "5,9", "--device", "code=0x0022 fault=exception:2"});
  const CliResult r = Cli({"scan", Pty(), "-m", "rtu", "-o", "0.1", "--last", "20", "--speeds", "9600,19200",
                           "--formats", "8E1", "--no-identify", "-q"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Stations(r.out), (std::vector<std::string>{"5", "9", "5", "9"})) << r.out;
  EXPECT_EQ(Words(Lines(r.out)[4]), "9 " + Pty() + " 19200 8E1 RTU exception 02 - - -");
}

TEST_F(CliSimTest, ScanThatFindsNothingOrIsInterrupted) {
  StartSim({"--no-pty", "--stations", "250"});  // above 247: never asked
  const CliResult none = Cli({"scan", Tcp(), "-o", "0.01", "-q"});
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(none.out.empty()) << none.out;
  const CliResult stopped = RunCliUntilTerminated({"scan", Tcp(), "-o", "0.05"}, m_home.Path(), std::chrono::milliseconds(500));
  EXPECT_EQ(stopped.status, 1) << stopped.err;
  EXPECT_NE(stopped.err.find("before the scan was interrupted"), std::string::npos) << stopped.err;
}

}  // namespace
}  // namespace clitest
