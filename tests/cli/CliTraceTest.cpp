// --trace: each frame sent and received, time-stamped, in hexadecimal with its framing decoded,
// and each failure's reason, on standard error; nothing of it without the option.
#include <gtest/gtest.h>

#include <regex>

#include "CliSimFixture.h"
#include "tests/support/OwnNetNamespace.h"

namespace clitest {
namespace {

// The trace lines of an error stream, with their time stamps taken out.
std::vector<std::string> TraceLines(const std::string& err) {
  static const std::regex stamp(R"(^trace \d+\.\d{6} )");
  std::vector<std::string> lines;
  for (const std::string& line : Lines(err))
    if (std::regex_search(line, stamp)) lines.push_back(std::regex_replace(line, stamp, ""));
  return lines;
}

TEST_F(CliSimTest, TraceOverTcpShowsRequestReplyAndEachFailure) {
  StartSim({"--no-pty", "--stations", "1,2,3,4", "--device", "reg=0:1,1:2", "--device",
            "station=9 fault=wrongtid", "--device", "station=10 fault=close"});
  const CliResult r = Cli({"read", Tcp(), "-a", "1", "-c", "2", "--trace"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 3u);  // the table as without --trace
  EXPECT_EQ(TraceLines(r.err), (std::vector<std::string>{
                                   Tcp() + " TCP > 00 01 00 00 00 06 01 03 00 00 00 02 | transaction 1, unit 1, function 3, "
                                           "address 0, count 2, length ok",
                                   Tcp() + " TCP < 00 01 00 00 00 07 01 03 04 00 01 00 02 | transaction 1, unit 1, "
                                           "function 3, 4 data bytes, length ok"}));
  const struct {
    const char* station;
    const char* line;
  } failures[] = {
      {"5", "TCP < (nothing) | failed: time-out"},
      {"9", "TCP < 00 02 00 00 00 05 09 03 02 00 00 | transaction 2, unit 9, function 3, 2 data bytes, length ok, "
            "failed: wrong transaction or protocol id"},
      {"10", "failed: truncated frame"},
  };
  for (const auto& f : failures) {
    const CliResult bad = Cli({"read", Tcp(), "-a", f.station, "-o", "0.2", "--trace"});
    EXPECT_EQ(bad.status, 1);
    const auto lines = TraceLines(bad.err);
    ASSERT_EQ(lines.size(), 2u) << bad.err;
    EXPECT_NE(lines[1].find(f.line), std::string::npos) << lines[1];
  }
  EXPECT_TRUE(TraceLines(Cli({"read", Tcp(), "-a", "1"}).err).empty());
}

TEST_F(CliSimTest, TraceOnTheSerialLineChecksCrcAndLrc) {
  StartSim({"--no-tcp", "--stations", "1", "--device", "reg=0:7", "--device", "station=2 fault=badcrc"});
  const CliResult rtu = Cli({"read", Pty(), "-m", "rtu", "-a", "1", "-d", "8", "-P", "none", "--trace"});
  ASSERT_EQ(rtu.status, 0) << rtu.err;
  const std::string link = "COM1 (" + Pty() + ")";
  EXPECT_EQ(TraceLines(rtu.err),
            (std::vector<std::string>{link + " RTU > 01 03 00 00 00 01 84 0A | station 1, function 3, address 0, count 1, CRC ok",
                                      link + " RTU < 01 03 02 00 07 F9 86 | station 1, function 3, 2 data bytes, CRC ok"}));
  const CliResult bad = Cli({"read", Pty(), "-m", "rtu", "-a", "2", "-o", "0.2", "--trace"});
  EXPECT_EQ(bad.status, 1);
  const auto badLines = TraceLines(bad.err);
  ASSERT_EQ(badLines.size(), 2u) << bad.err;
  EXPECT_NE(badLines[1].find("station 2, function 3, 2 data bytes, CRC bad, failed: bad checksum"), std::string::npos)
      << badLines[1];
  const CliResult ascii = Cli({"read", Pty(), "-m", "ascii", "-a", "1", "--trace"});
  ASSERT_EQ(ascii.status, 0) << ascii.err;
  const auto asciiLines = TraceLines(ascii.err);
  ASSERT_EQ(asciiLines.size(), 2u);
  EXPECT_NE(asciiLines[0].find("ASCII > 3A 30 31 30 33 30 30 30 30 30 30 30 31 46 42 0D 0A | station 1, function 3, "
                               "address 0, count 1, LRC ok"),
            std::string::npos)
      << asciiLines[0];
  EXPECT_NE(asciiLines[1].find("2 data bytes, LRC ok"), std::string::npos) << asciiLines[1];
}

// The search's discovery datagram, the replies and the device's sub-module query, traced: in a
// namespace of the test's own, where the discovery port and Modbus TCP's 502 are free.
std::string TraceTheIpSearch() {
  TempHome home;
  DevsimProcess sim;
  if (!sim.Start({"--no-pty", "--udp-bind", "127.0.0.2", "--tcp-port", "502", "--device",
                  "code=0x0015 station=1 ip=127.0.0.2 sub=0x4041"},
                 home.Path()))
    return "corvane-devsim did not start";
  const CliResult r = RunCli({"search", "ip", "127.0.0.2", "-a", "1", "-q", "--trace", "--catalogue",
                              CORVANE_SOURCE_DIR "/modules/demo/Modules.ini"},
                             home.Path());
  sim.Stop();
  const auto lines = TraceLines(r.err);
  const std::vector<std::string> want = {
      "UDP 127.0.0.2:20006 raw > 04 05 00 01 00 00",                 // the discovery request
      "UDP 127.0.0.2:20006 raw < 00 15 00 02 01",                    // the device's record
      "127.0.0.2:502 TCP > 00 01 00 00 00 06 01 03 15 6A 00 08",    // its sub-module list asked
      "127.0.0.2:502 TCP < 00 01 00 00 00 13 01 03 10 40 41 00 00"};
  std::string failed = r.status == 0 ? "" : "status " + std::to_string(r.status) + "; ";
  for (const std::string& w : want)
    if (std::none_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(w, 0) == 0; }))
      failed += "no line starting \"" + w + "\"; ";
  return failed.empty() ? failed : failed + r.err;
}

TEST(CliTrace, TheSearchTracesItsDatagramsAndDeviceQueries) {
  std::string failures;
  const int status = corvane::test::InOwnNetNamespace(TraceTheIpSearch, failures);
  if (status == 77) GTEST_SKIP() << "no network namespace of our own here";
  EXPECT_EQ(status, 0) << failures;
}

}  // namespace
}  // namespace clitest
