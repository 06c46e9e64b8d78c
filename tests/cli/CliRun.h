#pragma once
// Runs the built corvane-cli as a user would: its own process, PROGRAMDATA, XDG_RUNTIME_DIR and
// XDG_CONFIG_HOME in the test's folder, both output streams captured, a time bound.
#include <chrono>
#include <string>
#include <vector>

namespace clitest {

struct CliResult {
  int status = -1;  // exit status; -1 when it did not end by itself in time
  std::string out;
  std::string err;
};

CliResult RunCli(const std::vector<std::string>& args, const std::string& home,
                 std::chrono::milliseconds limit = std::chrono::seconds(30));
// The same, with SIGTERM sent after `terminateAfter`, as a user ends a program that runs until interrupted;
// not before standard output has `outLines` lines (a slow build or a loaded machine polls less often).
CliResult RunCliUntilTerminated(const std::vector<std::string>& args, const std::string& home,
                                std::chrono::milliseconds terminateAfter, std::size_t outLines = 0);

// A temporary folder removed with the object.
class TempHome {
public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;
  const std::string& Path() const { return m_path; }
  // Writes CVN.ini's CommConf section with these key=value lines into the settings folder.
  void WriteSettings(const std::vector<std::string>& lines) const;
  std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
  std::string m_path;
};

// Lines of a text.
std::vector<std::string> Lines(const std::string& text);

}  // namespace clitest
