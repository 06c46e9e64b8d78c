#include "widgets/CToolLauncher.h"

#include "platform/CShell.h"

namespace corvane {
namespace {
constexpr const char* kShow = "-show";
}  // namespace

std::string CToolLauncher::Lookup(const std::string& exe, const std::string& value) const {
  return m_lookup ? m_lookup(exe, value) : std::string();
}

std::optional<ToolLaunch> CToolLauncher::FirstWithPath(std::initializer_list<const char*> names) const {
  for (const char* name : names) {
    std::string folder = Lookup(name, "Path");
    if (!folder.empty()) return ToolLaunch{UpPath(name), kShow, std::move(folder)};
  }
  return std::nullopt;
}

std::optional<ToolLaunch> CToolLauncher::VirtualPort() const { return FirstWithPath({"VirtualPort.exe"}); }

std::optional<ToolLaunch> CToolLauncher::LadderStudio() const {
  return FirstWithPath({"NewLadderStudio.exe", "LadderStudio.exe"});
}

std::optional<ToolLaunch> CToolLauncher::LadderPad() const {
  std::string folder;
  for (int version = 250; version >= 245 && folder.empty(); --version)
    folder = Lookup("LadderPad_V" + std::to_string(version) + ".exe", "Path");
  if (folder.empty()) folder = Lookup("LadderPad.exe", "Path");
  if (folder.empty()) return std::nullopt;
  // Whichever entry gave the folder, the program started is the unversioned one.
  return ToolLaunch{UpPath("LadderPad.exe"), kShow, std::move(folder)};
}

std::optional<ToolLaunch> CToolLauncher::DriveTool() const { return FirstWithPath({"DriveTool.exe"}); }

std::optional<ToolLaunch> CToolLauncher::ServoTool() const {
  std::string full = Lookup("Servo_Tool_V5.exe", "");
  if (!full.empty()) return ToolLaunch{std::move(full), "", ""};
  return FirstWithPath({"Servo_Tool.exe", "ServoTool.exe"});
}

std::optional<ToolLaunch> CToolLauncher::CardTool(int languageId) const {
  std::string folder = Lookup("Corvane.exe", "Path");
  if (folder.empty()) return std::nullopt;
  return ToolLaunch{UpPath("CardTool.exe"), "\"" + std::to_string(languageId) + "\"", std::move(folder)};
}

void CToolLauncher::Launch(const std::optional<ToolLaunch>& launch) {
  if (launch) platform::ShellOpen(launch->file, launch->parameters, launch->workingFolder);
}

}  // namespace corvane
