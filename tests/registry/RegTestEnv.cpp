#include "tests/registry/RegTestEnv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/CRegStore.h"

namespace corvane::test {

namespace {

std::optional<std::string> GetEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void RestoreEnv(const char* name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

}  // namespace

void RegTestEnv::SetUp() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "cvn-registry-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  m_root = tmpl;
  m_oldProgramData = GetEnv("PROGRAMDATA");
  m_oldXdg = GetEnv("XDG_CONFIG_HOME");
  ::setenv("PROGRAMDATA", (m_root + "/programdata").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
  platform::CRegStore::SetSerialCommProvider({});
}

void RegTestEnv::TearDown() {
  platform::CRegStore::SetSerialCommProvider({});
  RestoreEnv("PROGRAMDATA", m_oldProgramData);
  RestoreEnv("XDG_CONFIG_HOME", m_oldXdg);
  std::error_code ec;
  std::filesystem::permissions(m_root, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(m_root, ec);
}

std::string RegTestEnv::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void RegTestEnv::WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

bool RegTestEnv::Exists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace corvane::test
