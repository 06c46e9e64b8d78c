// The pieces of corvane-cli that need no device: arguments, link options over CVN.ini, JSON,
// tables, shown text and time stamps.
#include <gtest/gtest.h>

#include <regex>

#include "tools/cli/CArgs.h"
#include "tools/cli/CJsonWriter.h"
#include "tools/cli/CLinkOptions.h"
#include "tools/cli/CShownText.h"
#include "tools/cli/CTable.h"
#include "tools/cli/CTimeStamp.h"

namespace corvane::cli {
namespace {

const std::vector<OptionSpec> kSpecs = {{'a', "station", "N", ""}, {'q', "quiet", nullptr, ""}, {0, "json", nullptr, ""}};

TEST(CliArgs, ShortLongInlineFlagsAndPositionals) {
  CArgs a;
  std::string error;
  ASSERT_TRUE(a.Parse({"-a", "3", "x", "--json", "-a5", "--station=7", "-q", "-5", "-1.5", "--", "-q"}, kSpecs, error));
  EXPECT_EQ(*a.Value("station"), "7");  // the last one given
  EXPECT_TRUE(a.Has("json"));
  EXPECT_TRUE(a.Has("quiet"));
  EXPECT_EQ(a.Positional(), (std::vector<std::string>{"x", "-5", "-1.5", "-q"}));
  EXPECT_EQ(a.Value("absent"), nullptr);
}

TEST(CliArgs, RefusalsSayWhich) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } rows[] = {
      {{"-z"}, "unknown option -z"},
      {{"--stat", "1"}, "unknown option --stat"},
      {{"-a"}, "option --station needs a value (N)"},
      {{"--json=1"}, "option --json takes no value"},
      {{"-qx"}, "option --quiet takes no value"},
  };
  for (const auto& row : rows) {
    CArgs a;
    std::string error;
    EXPECT_FALSE(a.Parse(row.args, kSpecs, error));
    EXPECT_EQ(error, row.error);
  }
}

struct ResolveCase {
  const char* name;
  std::vector<std::string> args;
  std::string target;
  std::vector<std::pair<const char*, int>> settings;  // CommConf fields by key
  const char* expected;  // Name() and Format() and station, or the error
};
void PrintTo(const ResolveCase& c, std::ostream* os) { *os << c.name; }

class LinkResolution : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(LinkResolution, OptionsOverCvnIni) {
  CommConf conf;
  for (const auto& [key, value] : GetParam().settings)
    for (const CommConfKey& k : kCommConfKeys)
      if (std::string(k.key) == key) conf.*k.field = value;
  CArgs args;
  std::string error;
  ASSERT_TRUE(args.Parse(GetParam().args, CLinkOptions::Specs(), error)) << error;
  const auto spec = CLinkOptions::Resolve(args, GetParam().target, conf);
  const std::string shown = spec ? spec->Name() + " " + spec->Format() + " station " + std::to_string(spec->station) +
                                       (spec->timeoutMs ? " " + std::to_string(spec->timeoutMs) + " ms" : "")
                                 : spec.Error();
  EXPECT_EQ(shown, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, LinkResolution, ::testing::Values(
    ResolveCase{"serial from CVN.ini", {}, "", {{"ComPortNum", 3}, {"StationAddr", 4}}, "COM3 9600 7E1 ASCII station 4"},
    ResolveCase{"options over it", {"-b", "19200", "-d", "8", "-P", "none", "-s", "2", "-m", "rtu", "-a", "9", "-o", "0.25"},
                "", {{"ComPortNum", 3}}, "COM3 19200 8N2 RTU station 9 250 ms"},
    ResolveCase{"a device path", {}, "/dev/ttyUSB0", {}, "/dev/ttyUSB0 9600 7E1 ASCII station 0"},
    ResolveCase{"COM name any case", {}, "Com12", {}, "COM12 9600 7E1 ASCII station 0"},
    ResolveCase{"an address", {"-a", "255"}, "127.0.0.5", {}, "127.0.0.5:502 Modbus TCP station 255"},
    ResolveCase{"an address and port", {"-p", "9"}, "127.0.0.5:1502", {}, "127.0.0.5:9 Modbus TCP station 0"},
    ResolveCase{"Ethernet from CVN.ini", {}, "", {{"CommType", 1}, {"IPAddress", 0x7F000002}, {"StationAddr", 2}},
                "127.0.0.2:502 Modbus TCP station 2"},
    ResolveCase{"-m tcp on a serial CVN.ini", {"-m", "tcp"}, "", {{"IPAddress", 0x7F000002}}, "127.0.0.2:502 Modbus TCP station 0"},
    ResolveCase{"-m rtu on an Ethernet CVN.ini", {"-m", "rtu"}, "", {{"CommType", 1}, {"ComPortNum", 2}},
                "COM2 9600 7E1 RTU station 0"},
    ResolveCase{"a target beats the manager", {}, "COM1", {{"CommType", 2}}, "COM1 9600 7E1 ASCII station 0"},
    ResolveCase{"broadcast address", {}, "255.255.255.255", {}, "no device address: 255.255.255.255 names none (give an IP address, or set one in Communication Setting)"},
    ResolveCase{"station over 247 on a line", {}, "COM1", {{"StationAddr", 250}}, "station 250 is outside 0 to 247"},
    ResolveCase{"ascii over TCP", {"-m", "ascii"}, "127.0.0.1", {}, "mode ascii does not go with 127.0.0.1:502 (tcp is for an IP address)"}));

TEST(CliJson, NestingCommasAndEscapes) {
  CJsonWriter w;
  w.BeginObject().Key("a").Int(-1).Key("b").BeginArray().String("x\"y\\z\n").Bool(true).Null().Raw("1.5").EndArray();
  w.Key("c").BeginObject().EndObject().Key("d\x01").String(std::string("\xC3\xA9\xFF\x1B", 4)).EndObject();
  EXPECT_EQ(w.Text(), "{\"a\":-1,\"b\":[\"x\\\"y\\\\z\\n\",true,null,1.5],\"c\":{},\"d\\u0001\":\"\xC3\xA9\\u00FF\\u001B\"}\n");
}

TEST(CliShownText, ControlsAndStrayBytesAreEscaped) {
  EXPECT_EQ(CShownText::ForTerminal("plain \xC3\xA9"), "plain \xC3\xA9");
  EXPECT_EQ(CShownText::ForTerminal("\x1B[2J\x07"), "\\x1B[2J\\x07");
  EXPECT_EQ(CShownText::ForTerminal("a\\b"), "a\\\\b");
  EXPECT_EQ(CShownText::ForTerminal("\xC2\x9B" "31m"), "\\xC2\\x9B31m");  // C1 CSI
  EXPECT_EQ(CShownText::ForTerminal("\xFF\xC3"), "\\xFF\\xC3");
}

TEST(CliTable, AlignsByCharactersAndEscapesCells) {
  CTable t({"code", "name"});
  t.AddRow({"0015", "\xC3\xA9t\xC3\xA9"});
  t.AddRow({"4041", "x\x1B"});
  EXPECT_EQ(t.Text(), "code  name\n0015  \xC3\xA9t\xC3\xA9\n4041  x\\x1B\n");
}

TEST(CliTimeStamp, LocalTimeWithMillisecondsAndOffset) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(CTimeStamp::Local(std::chrono::system_clock::time_point(std::chrono::milliseconds(1714651387125))),
            "2024-05-02T12:03:07.125+00:00");
  setenv("TZ", "EST5EDT", 1);
  tzset();
  EXPECT_EQ(CTimeStamp::Local(std::chrono::system_clock::time_point(std::chrono::milliseconds(1714651387005))),
            "2024-05-02T08:03:07.005-04:00");
  unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace corvane::cli
