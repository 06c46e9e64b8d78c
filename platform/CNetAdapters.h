#pragma once
// The machine's network interfaces as the Windows adapter list describes them: a type
// (6 Ethernet, 71 IEEE 802.11, 24 loop-back, 1 other), a description and the first IPv4 address.
#include <string>
#include <vector>

namespace corvane::platform {

struct NetAdapter {
  std::string name;         // eth0
  int type = 1;
  std::string description;  // "eth0 (e1000e)"
  std::string firstIPv4;    // dotted; "0.0.0.0" when it has none
};

class CNetAdapters {
public:
  explicit CNetAdapters(std::string sysRoot = "/sys") : m_sysRoot(std::move(sysRoot)) {}
  // Interfaces in the order the system lists them; empty with errorCode set on failure.
  std::vector<NetAdapter> Enumerate(int* errorCode = nullptr) const;
  // The type and description of one interface from /sys/class/net.
  NetAdapter Describe(const std::string& name) const;

private:
  std::string m_sysRoot;
};

}  // namespace corvane::platform
