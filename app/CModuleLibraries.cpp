#include "app/CModuleLibraries.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>

namespace corvane {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool HasLibrarySuffix(const std::string& name) {
  return name.size() > 3 && Lower(name.substr(name.size() - 3)) == ".so";
}

}  // namespace

bool CModuleLibrary::Load(const std::string& path) {
  Unload();
  if (path.empty() || !m_hLibrary.Load(path)) return false;
  m_strPath = path;
  m_pfnDocTemplate = reinterpret_cast<DocTemplateFactory>(m_hLibrary.Symbol(kDocTemplateExport));
  return true;
}

void CModuleLibrary::Unload() {
  m_pfnDocTemplate = nullptr;
  m_hLibrary.Unload();
  m_strPath.clear();
}

int CModuleLibraries::Scan(const std::string& folder) {
  // The folder as the command line gave it; empty means the current directory.
  const std::string dirPath = folder.empty() ? std::string(".") : folder;
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(dirPath.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (HasLibrarySuffix(name)) names.push_back(name);
    }
    ::closedir(dir);
  }

  std::vector<std::string> paths;
  for (const std::string& name : names) {
    const std::string path = folder + name;
    platform::CDynamicLibrary probe;
    if (!probe.Load(path.find('/') == std::string::npos ? "./" + path : path)) continue;
    auto version = reinterpret_cast<SdkVersionFunction>(probe.Symbol(kSdkVersionExport));
    // A library built against another SDK is skipped before anything of it runs.
    if (probe.Symbol(kDocTemplateExport) && version && version() == m_nSdkVersion) {
      paths.push_back(path.find('/') == std::string::npos ? "./" + path : path);
      m_files.push_back(Lower(name));
      m_templateNumbers.push_back(0);
    }
  }
  for (const std::string& path : paths) m_libraries.push_back(std::make_unique<CModuleLibrary>(path));
  return static_cast<int>(m_libraries.size());
}

void CModuleLibraries::SetTemplateNumber(int slot, int templateNumber) {
  if (slot > 0 && static_cast<std::size_t>(slot) < m_templateNumbers.size())
    m_templateNumbers[static_cast<std::size_t>(slot)] = templateNumber;
}

int CModuleLibraries::FindTemplateNumber(const std::string& fileName) const {
  const std::string key = Lower(fileName);
  for (std::size_t i = 1; i < m_files.size(); ++i)
    if (m_files[i] == key) return m_templateNumbers[i];
  return 0;
}

void CModuleLibraries::Release() {
  m_libraries.clear();
  m_files.assign(1, std::string());
  m_templateNumbers.assign(1, 0);
}

}  // namespace corvane
