#include "app/CCommandLine.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct ParseCase {
  const char* name;
  const char* commandLine;
  bool found;
  const char* folder;
  const char* args;
  int count;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class CommandLineParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, ExtractsFolderAndFields) {
  const ParseCase& c = GetParam();
  CCommandLine line;
  line.SetSeparator(" ");
  line.SetCommandLine(c.commandLine);
  EXPECT_EQ(line.Parse(), c.found);
  EXPECT_EQ(line.GetExeFolder(), c.folder);
  EXPECT_EQ(line.GetArgs(), c.args);
  EXPECT_EQ(line.GetArgCount(), c.count);
}

const ParseCase kParseCases[] = {
    // name                  command line                                                          found  folder             args                                          n
    {"QuotedPathNoArgs",   "\"/opt/zelmar/bin/corvane\"",                                           false, "/opt/zelmar/bin/", "",                                           0},
    {"OneField",           "\"/opt/zelmar/bin/corvane\" 1028",                                     true,  "/opt/zelmar/bin/", "1028",                                       1},
    {"FiveFieldsInQuotes", "\"/opt/zelmar/bin/corvane\" \"1033 0 1 192.168.1.5 00060000FF000003\"", true,  "/opt/zelmar/bin/", "1033 0 1 192.168.1.5 00060000FF000003",      5},
    {"TwoSpaces",          "\"/opt/zelmar/bin/corvane\"  1028",                                    false, "/opt/zelmar/bin/", "",                                           0},
    {"UnquotedPath",       "/opt/zelmar/bin/corvane 1028",                                         false, "/opt/zelmar/bin/", "",                                           0},
    {"BareFileName",       "\"corvane\" 1028",                                                     true,  "",                 "1028",                                       1},
    {"NameInFolderToo",    "\"/home/corvane/build/corvane\" 1028",                                 true,  "/home/corvane/build/", "1028",                                   1},
    {"LetterCase",         "\"/Apps/CORVANE\" 1041",                                               true,  "/Apps/",           "1041",                                       1},
    {"OtherProgramName",   "\"/usr/bin/other\"",                                                   false, "",                 "",                                           0},
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineParse, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineFromArgv, QuotesProgramAndArgumentsWithSpaces) {
  EXPECT_EQ(CCommandLine::FromArgv({"/opt/bin/corvane"}), "\"/opt/bin/corvane\"");
  EXPECT_EQ(CCommandLine::FromArgv({"/opt/bin/corvane", "1028"}), "\"/opt/bin/corvane\" 1028");
  EXPECT_EQ(CCommandLine::FromArgv({"/opt/bin/corvane", "1033 0 1 127.0.0.2 0203"}),
            "\"/opt/bin/corvane\" \"1033 0 1 127.0.0.2 0203\"");
  EXPECT_EQ(CCommandLine::FromArgv({}), "");
}

TEST(CommandLineFromArgv, RoundTripsThroughParse) {
  CCommandLine line;
  line.SetSeparator(" ");
  line.SetCommandLine(CCommandLine::FromArgv({"/a b/bin/corvane", "1033 0 0 3 0015"}));
  ASSERT_TRUE(line.Parse());
  EXPECT_EQ(line.GetExeFolder(), "/a b/bin/");
  ASSERT_EQ(line.GetArgCount(), 5);
  EXPECT_EQ(line.GetField(3), "3");
  EXPECT_EQ(line.GetField(4), "0015");
}

}  // namespace
}  // namespace corvane
