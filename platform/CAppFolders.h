#pragma once
// Where the program keeps machine-wide and per-user data. The environment is read on every
// call, so a changed PROGRAMDATA or XDG_CONFIG_HOME takes effect at once.
#include <string>

namespace corvane::platform {

class CAppFolders {
public:
  // $PROGRAMDATA when set and not empty, else /var/lib.
  static std::string AllUsersFolder();
  // $XDG_CONFIG_HOME when set and not empty, else $HOME/.config (the password entry's home without HOME).
  static std::string UserConfigFolder();

  // <all-users>/Zelmar Industrial Automation
  static std::string CompanyDataFolder();
  // <all-users>/Zelmar Industrial Automation/Communication/Corvane/Config
  static std::string CorvaneConfigFolder();

  // Registry files, one per root.
  static std::string LocalMachineRegistryFile();  // <company data>/system.reg
  static std::string ClassesRootRegistryFile();   // <company data>/classes.reg
  static std::string UsersRegistryFile();         // <company data>/users.reg
  static std::string CurrentUserRegistryFile();   // <user config>/Zelmar/user.reg
};

}  // namespace corvane::platform
