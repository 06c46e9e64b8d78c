#pragma once
// The maker's sibling tools, found through their App Paths entries and started through the
// shell's "open". A tool that is not registered does not start; nothing is reported.
#include <functional>
#include <optional>
#include <string>

namespace corvane {

// An App Paths value of an executable: (exe name, value name; empty for the default value).
using AppPathLookup = std::function<std::string(const std::string&, const std::string&)>;

struct ToolLaunch {
  std::string file;
  std::string parameters;
  std::string workingFolder;  // empty: none
  bool operator==(const ToolLaunch&) const = default;
};

class CToolLauncher {
public:
  explicit CToolLauncher(AppPathLookup lookup) : m_lookup(std::move(lookup)) {}

  // What each command would start; nothing when every lookup is empty.
  std::optional<ToolLaunch> VirtualPort() const;
  std::optional<ToolLaunch> LadderStudio() const;
  std::optional<ToolLaunch> LadderPad() const;
  std::optional<ToolLaunch> DriveTool() const;
  std::optional<ToolLaunch> ServoTool() const;
  // The card tool is found only through this program's own entry and told our language.
  std::optional<ToolLaunch> CardTool(int languageId) const;

  // The shell's "open" of the launch, if any; its result is not examined.
  static void Launch(const std::optional<ToolLaunch>& launch);

  // The file one folder above the working folder.
  static std::string UpPath(const std::string& exeName) { return "../" + exeName; }

private:
  std::string Lookup(const std::string& exe, const std::string& value) const;
  // The first of the names whose "Path" value is not empty: (name, folder).
  std::optional<ToolLaunch> FirstWithPath(std::initializer_list<const char*> names) const;

  AppPathLookup m_lookup;
};

}  // namespace corvane
