#pragma once
// What every subcommand of corvane-cli works with: its output streams, the executable folder
// (the module catalogue lies below it) and the link settings of CVN.ini.
#include <ostream>
#include <string>

#include "comm/CommConf.h"

namespace corvane::cli {

struct CommandInfo;

class CCliContext {
public:
  CCliContext(std::ostream& out, std::ostream& err, std::string exeFolder)
      : out(out), err(err), m_exeFolder(std::move(exeFolder)) {}

  std::ostream& out;
  std::ostream& err;

  // With a slash at the end.
  const std::string& ExeFolder() const { return m_exeFolder; }
  // The catalogue and CVN.ini as the program finds them.
  std::string CataloguePath() const;
  std::string SettingsPath() const;
  // CVN.ini's CommConf record (defaults when the file or section is missing).
  CommConf LoadSettings() const;

  // "corvane-cli read: <message>" and the hint to --help on standard error; returns kExitUsage.
  int UsageError(const CommandInfo& command, const std::string& message) const;
  // "corvane-cli <name>: <message>" on standard error; returns `status`.
  int Fail(const CommandInfo& command, const std::string& message, int status) const;

  // The folder of the running image, with a slash at the end.
  static std::string RunningImageFolder();

private:
  std::string m_exeFolder;
};

}  // namespace corvane::cli
