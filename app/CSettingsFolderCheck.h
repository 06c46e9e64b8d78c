#pragma once
// Whether this user can save the link settings and the IP list in the all-users settings
// folder. The package makes that folder writable by the group that may use serial ports
// (dialout); where it is not, the start-up says so once, with the fix, and keeps working.
#include <string>

namespace corvane {

struct SettingsFolderAccess {
  enum class Fix {
    None,            // writable
    CreateFolder,    // missing, and this user may not make it
    JoinGroup,       // writable by a group this user is not in (group below)
    GrantGroup,      // not writable by any group: an administrator opens it to dialout
  };
  Fix fix = Fix::None;
  std::string folder;
  std::string group;  // JoinGroup: the folder's group
  std::string user;   // this user's name, for the command that fixes it
  bool Writable() const { return fix == Fix::None; }
};

class CSettingsFolderCheck {
public:
  // Makes the folder when it is missing and this user may (files saved there later find it),
  // then checks that files can be created and replaced in it.
  static SettingsFolderAccess Check(const std::string& folder);
  // The command an administrator runs for the fix; empty for None.
  static std::string FixCommand(const SettingsFolderAccess& access);
};

}  // namespace corvane
