#pragma once
// Registers the pty as a COM port: value COMn = path under
// HKEY_LOCAL_MACHINE\SOFTWARE\Zelmar\Corvane\Ports of the REGEDIT4 store, other content kept.
#include <optional>
#include <string>

namespace corvane::devsim {

class PortRegistry {
 public:
  // <$PROGRAMDATA or /var/lib>/Zelmar Industrial Automation/system.reg
  static std::string StorePath();
  // Sets (or, with no path, removes) COMn; written through a temporary file and a rename.
  static bool Write(int comPort, const std::optional<std::string>& path, std::string& error);
};

}  // namespace corvane::devsim
