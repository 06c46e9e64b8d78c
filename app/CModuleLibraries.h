#pragma once
// The plug-in module libraries of the executable folder: found once at start-up, kept
// loaded for the run, freed after their templates are gone.
#include <memory>
#include <string>
#include <vector>

#include "platform/CDynamicLibrary.h"

namespace corvane {

// A library's factory for its document template (the framework's template type; null allowed).
using DocTemplateFactory = void* (*)();
using SdkVersionFunction = int (*)();

// The module SDK version this host accepts (the SDK header defines the same number).
inline constexpr int kModuleSdkVersion = 1;
inline constexpr const char* kDocTemplateExport = "DLLDocTemplate";
inline constexpr const char* kSdkVersionExport = "CorvaneModuleSdkVersion";

// One loaded module library.
class CModuleLibrary {
public:
  CModuleLibrary() = default;
  explicit CModuleLibrary(const std::string& path) { Load(path); }

  bool Load(const std::string& path);
  void Unload();

  const std::string& Path() const { return m_strPath; }
  DocTemplateFactory Factory() const { return m_pfnDocTemplate; }

private:
  std::string m_strPath;
  platform::CDynamicLibrary m_hLibrary;
  DocTemplateFactory m_pfnDocTemplate = nullptr;
};

class CModuleLibraries {
public:
  explicit CModuleLibraries(int sdkVersion) : m_nSdkVersion(sdkVersion) {}

  // Probes every *.so of the folder once, in directory order, and keeps the modules
  // (those exporting the template factory and the matching SDK version). Returns their count.
  int Scan(const std::string& folder);

  int Count() const { return static_cast<int>(m_libraries.size()); }
  CModuleLibrary& Library(int i) { return *m_libraries.at(static_cast<std::size_t>(i)); }

  // Slot 0 stays empty; slot k holds library k's lower-case file name.
  const std::vector<std::string>& Files() const { return m_files; }

  // Library k (from 1) was registered as this template number; 0 when its factory gave null.
  void SetTemplateNumber(int slot, int templateNumber);
  // The template number of a library file name, any letter case; 0 when unknown.
  int FindTemplateNumber(const std::string& fileName) const;

  // Frees every library; the templates they supplied must be gone already.
  void Release();

private:
  int m_nSdkVersion;
  std::vector<std::unique_ptr<CModuleLibrary>> m_libraries;
  std::vector<std::string> m_files{std::string()};
  std::vector<int> m_templateNumbers{0};
};

}  // namespace corvane
