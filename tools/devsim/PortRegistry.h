#pragma once
// Registers the pty as a COM port: value COMn = path under
// HKEY_LOCAL_MACHINE\SOFTWARE\Zelmar\Corvane\Ports of the registry store.
#include <string>

namespace corvane::devsim {

class PortRegistry {
 public:
  static constexpr const char* kPortsKey = "SOFTWARE\\Zelmar\\Corvane\\Ports";

  static bool Set(int comPort, const std::string& path, std::string& error);
  // Removes COMn only while it still names `path`, so a newer simulator's entry survives.
  static void Remove(int comPort, const std::string& path);
};

}  // namespace corvane::devsim
