#include "platform/CAppFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace corvane::platform {

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  return value;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && *found->pw_dir != '\0') {
    return found->pw_dir;
  }
  return "/tmp";
}

// "a/" + "b" and "a" + "b" both give "a/b".
std::string Join(std::string base, const std::string& tail) {
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  if (base != "/") base += '/';
  return base + tail;
}

}  // namespace

std::string CAppFolders::AllUsersFolder() { return EnvOr("PROGRAMDATA", "/var/lib"); }

std::string CAppFolders::UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg != '\0') return xdg;
  return Join(HomeFolder(), ".config");
}

std::string CAppFolders::CompanyDataFolder() {
  return Join(AllUsersFolder(), "Zelmar Industrial Automation");
}

std::string CAppFolders::CorvaneConfigFolder() {
  return Join(CompanyDataFolder(), "Communication/Corvane/Config");
}

std::string CAppFolders::LocalMachineRegistryFile() { return Join(CompanyDataFolder(), "system.reg"); }
std::string CAppFolders::ClassesRootRegistryFile() { return Join(CompanyDataFolder(), "classes.reg"); }
std::string CAppFolders::UsersRegistryFile() { return Join(CompanyDataFolder(), "users.reg"); }
std::string CAppFolders::CurrentUserRegistryFile() { return Join(UserConfigFolder(), "Zelmar/user.reg"); }

}  // namespace corvane::platform
