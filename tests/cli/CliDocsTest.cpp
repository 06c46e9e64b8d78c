// The manual page and the bash completion know every command and option the program takes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "CliRun.h"

namespace clitest {
namespace {

const std::vector<std::string> kCommands = {"search", "read", "write", "poll", "scan", "project", "ports"};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The long options a command's --help lists.
std::set<std::string> HelpOptions(const std::string& command) {
  TempHome home;
  const std::string help = RunCli({command, "--help"}, home.Path()).out;
  std::set<std::string> options;
  static const std::regex option(R"(^  (?:-\w, )?\s*(--[a-z-]+))");
  for (const std::string& line : Lines(help)) {
    std::smatch m;
    if (std::regex_search(line, m, option)) options.insert(m[1]);
  }
  return options;
}

std::string Shell(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
  ::pclose(p);
  return out;
}

const std::string kCompletion = CORVANE_SOURCE_DIR "/packaging/completion/corvane-cli";

TEST(CliDocs, ManualPageNamesEveryCommandAndOption) {
  std::string page = ReadFile(CORVANE_SOURCE_DIR "/packaging/man/corvane-cli.1");
  ASSERT_FALSE(page.empty());
  page = std::regex_replace(page, std::regex(R"(\\-)"), "-");  // roff's escaped hyphens
  for (const std::string& command : kCommands) {
    EXPECT_TRUE(page.find(".BR " + command) != std::string::npos || page.find(".B " + command + "\n") != std::string::npos)
        << command;
    const auto options = HelpOptions(command);
    EXPECT_FALSE(options.empty()) << command;
    for (const std::string& o : options) EXPECT_NE(page.find(o), std::string::npos) << command << " " << o;
  }
  for (const char* status : {".B 0", ".B 1", ".B 2", ".B 3"}) EXPECT_NE(page.find(status), std::string::npos);
}

TEST(CliDocs, CompletionOffersEveryCommandAndItsOptions) {
  const std::string commands =
      Shell("bash -c 'source " + kCompletion + "; COMP_WORDS=(corvane-cli \"\"); COMP_CWORD=1; _corvane_cli; "
          "echo \"${COMPREPLY[@]}\"'");
  for (const std::string& command : kCommands) EXPECT_NE(commands.find(command), std::string::npos) << commands;
  for (const std::string& command : kCommands) {
    const std::string offered = " " + Shell("bash -c 'source " + kCompletion + "; _corvane_cli_options " + command + "'") + " ";
    for (const std::string& o : HelpOptions(command))
      EXPECT_NE(offered.find(" " + o + (o == "--help" ? "\n" : " ")), std::string::npos) << command << " " << o << ":" << offered;
  }
  const std::string formats = Shell("bash -c 'source " + kCompletion +
                                  "; COMP_WORDS=(corvane-cli read -t f); COMP_CWORD=3; _corvane_cli; echo \"${COMPREPLY[@]}\"'");
  EXPECT_EQ(formats, "float32 float64\n");
}

}  // namespace
}  // namespace clitest
