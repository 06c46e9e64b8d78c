#pragma once
// A loaded shared library, freed when the object goes.
#include <string>

namespace corvane::platform {

class CDynamicLibrary {
public:
  CDynamicLibrary() = default;
  explicit CDynamicLibrary(const std::string& path) { Load(path); }
  ~CDynamicLibrary() { Unload(); }
  CDynamicLibrary(CDynamicLibrary&& other) noexcept;
  CDynamicLibrary& operator=(CDynamicLibrary&& other) noexcept;
  CDynamicLibrary(const CDynamicLibrary&) = delete;
  CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

  // A path without '/' is searched the dynamic loader's way.
  bool Load(const std::string& path);
  void Unload();
  bool IsLoaded() const { return m_handle != nullptr; }
  void* Symbol(const char* name) const;
  const std::string& Error() const { return m_error; }

private:
  void* m_handle = nullptr;
  std::string m_error;
};

}  // namespace corvane::platform
