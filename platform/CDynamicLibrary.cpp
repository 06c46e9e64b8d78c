#include "platform/CDynamicLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace corvane::platform {

CDynamicLibrary::CDynamicLibrary(CDynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(std::move(other.m_error)) {}

CDynamicLibrary& CDynamicLibrary::operator=(CDynamicLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    m_handle = std::exchange(other.m_handle, nullptr);
    m_error = std::move(other.m_error);
  }
  return *this;
}

bool CDynamicLibrary::Load(const std::string& path) {
  Unload();
  m_error.clear();
  m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_handle) {
    const char* text = ::dlerror();
    m_error = text ? text : "cannot load " + path;
  }
  return m_handle != nullptr;
}

void CDynamicLibrary::Unload() {
  if (m_handle) ::dlclose(m_handle);
  m_handle = nullptr;
}

void* CDynamicLibrary::Symbol(const char* name) const {
  if (!m_handle || !name) return nullptr;
  ::dlerror();
  return ::dlsym(m_handle, name);
}

}  // namespace corvane::platform
