#include "widgets/CUrlOpener.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/CAppFolders.h"
#include "platform/CRegStore.h"
#include "platform/CShell.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

constexpr const char* kContext = "HyperLink";
constexpr std::size_t kMaxCommandLine = 4096;
constexpr std::size_t kMaxIniFile = 256 * 1024;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string RegistryDefault(const std::string& path) {
  const platform::CRegStore store;
  const auto result = store.GetValue(platform::RegRoot::ClassesRoot, path, "");
  if (!result.ok()) return {};
  std::string text = platform::CRegStore::TextOf(result.value);
  return text.size() < kMaxCommandLine ? text : std::string();
}

// The value of key in [section] of an INI-like file (desktop entries, mimeapps.list); only the
// head of the file is read.
std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
  std::ifstream in(file, std::ios::binary);
  std::string text(kMaxIniFile, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  bool inSection = false;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxCommandLine) continue;
    if (!line.empty() && line[0] == '[') {
      inSection = line.rfind("[" + section + "]", 0) == 0;
      continue;
    }
    if (inSection && line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return {};
}

std::vector<std::string> ConfigDirs() {
  std::vector<std::string> dirs{platform::CAppFolders::UserConfigFolder()};
  std::string xdg = Env("XDG_CONFIG_DIRS");
  if (xdg.empty()) xdg = "/etc/xdg";
  for (std::size_t start = 0; start <= xdg.size();) {
    const std::size_t colon = std::min(xdg.find(':', start), xdg.size());
    if (colon > start) dirs.push_back(xdg.substr(start, colon - start));
    start = colon + 1;
  }
  return dirs;
}

std::vector<std::string> DataDirs() {
  std::vector<std::string> dirs;
  std::string home = Env("XDG_DATA_HOME");
  if (home.empty() && !Env("HOME").empty()) home = Env("HOME") + "/.local/share";
  if (!home.empty()) dirs.push_back(home);
  std::string xdg = Env("XDG_DATA_DIRS");
  if (xdg.empty()) xdg = "/usr/local/share:/usr/share";
  for (std::size_t start = 0; start <= xdg.size();) {
    const std::size_t colon = std::min(xdg.find(':', start), xdg.size());
    if (colon > start) dirs.push_back(xdg.substr(start, colon - start));
    start = colon + 1;
  }
  return dirs;
}

// A desktop entry's Exec line with its field codes: the first file or URL code becomes %1,
// the others go.
std::string ExecToCommand(const std::string& exec) {
  std::string out;
  bool placed = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    if (exec[i] != '%' || i + 1 >= exec.size()) {
      out += exec[i];
      continue;
    }
    const char code = exec[++i];
    if (code == '%') out += '%';
    else if (!placed && (code == 'u' || code == 'U' || code == 'f' || code == 'F')) {
      out += "%1";
      placed = true;
    }
  }
  return out;
}

std::string DesktopDefaultBrowser() {
  std::string id;
  for (const std::string& dir : ConfigDirs()) {
    for (const char* section : {"Default Applications", "Added Associations"}) {
      id = IniValue(dir + "/mimeapps.list", section, "x-scheme-handler/http");
      if (!id.empty()) break;
    }
    if (!id.empty()) break;
  }
  id = id.substr(0, id.find(';'));
  if (id.empty() || id.find('/') != std::string::npos) return {};
  for (const std::string& dir : DataDirs()) {
    const std::string exec = IniValue(dir + "/applications/" + id, "Desktop Entry", "Exec");
    if (!exec.empty()) return ExecToCommand(exec);
  }
  return {};
}

}  // namespace

int CUrlOpener::OpenUrl(const std::string& target) {
  int result = platform::ShellOpen(target, "", "");
  if (result > 32) return result;
  const std::string command = BrowserCommand();
  // Without a browser of its own the shell's answer stands.
  if (!command.empty()) result = RunBrowser(command, target);
  return result;
}

std::string CUrlOpener::BrowserCommand() {
  const std::string htmClass = RegistryDefault(".htm");
  if (!htmClass.empty() && htmClass.find('\\') == std::string::npos) {
    const std::string command = RegistryDefault(htmClass + "\\shell\\open\\command");
    if (!command.empty()) return command;
  }
  std::string browser = Env("BROWSER");
  browser = browser.substr(0, browser.find(':'));
  if (!browser.empty() && browser.size() < kMaxCommandLine) {
    const auto s = browser.find("%s");
    if (s != std::string::npos) browser.replace(s, 2, "%1");
    return browser;
  }
  return DesktopDefaultBrowser();
}

int CUrlOpener::RunBrowser(const std::string& command, const std::string& target) {
  std::string head = command;
  auto cut = head.find("\"%1\"");
  if (cut == std::string::npos) cut = head.find("%1");
  if (cut != std::string::npos) head.erase(cut);
  // The target is one argument whatever it holds: only the browser's own part is split.
  std::vector<std::string> args = platform::SplitParameters(head);
  if (args.empty()) return 2;
  args.push_back(target);
  return platform::ShellResultForStartError(platform::ProcessStarter().Start(args[0], args, ""));
}

std::string CUrlOpener::ErrorMessage(int code) {
  return TranslateText(kContext, CVN_STR("HyperLink", "Unable to open hyperlink:\n\n")) + ErrorText(code);
}

std::string CUrlOpener::ErrorText(int code) {
  static constexpr std::pair<int, const char*> kTexts[] = {
      {0, CVN_STR("HyperLink", "The operating system is out\nof memory or resources.")},
      {2, CVN_STR("HyperLink", "The specified file was not found.")},
      {3, CVN_STR("HyperLink", "The specified path was not found.")},
      {5, CVN_STR("HyperLink", "The operating system denied\naccess to the specified file.")},
      {8, CVN_STR("HyperLink", "There was not enough memory to complete the operation.")},
      {11, CVN_STR("HyperLink", "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).")},
      {26, CVN_STR("HyperLink", "A sharing violation occurred. ")},
      {27, CVN_STR("HyperLink", "The filename association is\nincomplete or invalid.")},
      {28, CVN_STR("HyperLink", "The DDE transaction could not\nbe completed because the request timed out.")},
      {29, CVN_STR("HyperLink", "The DDE transaction failed.")},
      {30, CVN_STR("HyperLink", "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.")},
      {31, CVN_STR("HyperLink", "There is no application associated\nwith the given filename extension.")},
      {32, CVN_STR("HyperLink", "The specified dynamic-link library was not found.")},
  };
  for (const auto& [number, text] : kTexts)
    if (number == code) return TranslateText(kContext, text);
  // The code replaces its mark in the text; a translated text is never a format.
  std::string text = TranslateText(kContext, CVN_STR("HyperLink", "Unknown Error (%d) occurred."));
  const auto mark = text.find("%d");
  if (mark != std::string::npos) text.replace(mark, 2, std::to_string(code));
  return text;
}

}  // namespace corvane
