#pragma once
// Registers the pty as a COM port: value COMn = path under SOFTWARE\Zelmar\Corvane\Ports of the
// registry store, the machine's where this user may write it, else the user's.
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
