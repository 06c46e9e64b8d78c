#include "tools/cli/CCliContext.h"

#include <unistd.h>

#include "app/CAppConfig.h"
#include "platform/CAppFolders.h"
#include "settings/CIni.h"
#include "tools/cli/CommandInfo.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {

std::string CCliContext::RunningImageFolder() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  const std::string path(buffer, static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

std::string CCliContext::CataloguePath() const {
  return FormConfigPaths(m_exeFolder, platform::CAppFolders::AllUsersFolder()).modules;
}

std::string CCliContext::SettingsPath() const {
  return FormConfigPaths(m_exeFolder, platform::CAppFolders::AllUsersFolder()).settings;
}

CommConf CCliContext::LoadSettings() const {
  CommConf conf;
  CIni ini(SettingsPath());
  LoadCommConf(ini, conf);
  return conf;
}

int CCliContext::UsageError(const CommandInfo& command, const std::string& message) const {
  err << "corvane-cli " << command.name << ": " << message << "\n"
      << "Try 'corvane-cli " << command.name << " --help'.\n";
  return kExitUsage;
}

int CCliContext::Fail(const CommandInfo& command, const std::string& message, int status) const {
  err << "corvane-cli " << command.name << ": " << message << "\n";
  return status;
}

}  // namespace corvane::cli
