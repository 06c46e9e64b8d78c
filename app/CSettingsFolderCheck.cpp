#include "app/CSettingsFolderCheck.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace corvane {
namespace {

std::string GroupName(gid_t gid) {
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->gr_name;
  return std::to_string(gid);
}

std::string UserName() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
  return std::to_string(::getuid());
}

bool InGroup(gid_t gid) {
  if (::getgid() == gid || ::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<std::size_t>(i)] == gid) return true;
  return false;
}

// A shell word in single quotes: the folder's name holds spaces.
std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

SettingsFolderAccess CSettingsFolderCheck::Check(const std::string& folder) {
  SettingsFolderAccess access;
  access.folder = folder;
  access.user = UserName();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    access.fix = SettingsFolderAccess::Fix::CreateFolder;
    return access;
  }
  // The kernel's own answer: owner, groups, ACLs and read-only mounts all count.
  if (::access(folder.c_str(), W_OK | X_OK) == 0) return access;
  if ((st.st_mode & S_IWGRP) && !InGroup(st.st_gid)) {
    access.fix = SettingsFolderAccess::Fix::JoinGroup;
    access.group = GroupName(st.st_gid);
    return access;
  }
  access.fix = SettingsFolderAccess::Fix::GrantGroup;
  return access;
}

std::string CSettingsFolderCheck::FixCommand(const SettingsFolderAccess& access) {
  switch (access.fix) {
    case SettingsFolderAccess::Fix::None:
      return {};
    case SettingsFolderAccess::Fix::CreateFolder:
      return "sudo install -d -m 2775 -g dialout " + Quoted(access.folder);
    case SettingsFolderAccess::Fix::JoinGroup:
      return "sudo adduser " + access.user + " " + access.group;
    case SettingsFolderAccess::Fix::GrantGroup:
      return "sudo chgrp dialout " + Quoted(access.folder) + " && sudo chmod 2775 " + Quoted(access.folder);
  }
  return {};
}

}  // namespace corvane
