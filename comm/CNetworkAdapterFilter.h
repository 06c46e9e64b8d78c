#pragma once
// Keeps the usable local adapters (Ethernet or wireless, not Bluetooth) of the platform's raw list
// as the two parallel lists AdapterNames / AdapterIPs.
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace corvane {

struct RawAdapter {
  int type = 0;             // 6 Ethernet, 71 IEEE 802.11, anything else
  std::string description;
  std::string firstIPv4;    // dotted text, "0.0.0.0" when disconnected
};

// What the platform answered: status 0 and the adapters, kNoMemory, or its error code.
struct AdapterQuery {
  static constexpr int kNoMemory = -1;
  int status = 0;
  std::vector<RawAdapter> adapters;
};

class CNetworkAdapterFilter {
 public:
  static constexpr int kEthernet = 6;
  static constexpr int kWireless = 71;

  static bool Keeps(const RawAdapter& adapter);
  // Refills both lists from the source; failures write their diagnostic to `diagnostics`.
  static void EnumNetworkAdapters(const std::function<AdapterQuery()>& source, std::vector<std::string>& names,
                                  std::vector<std::string>& ips, std::ostream& diagnostics);
  // Dotted text to a value with the first octet in the most significant byte; 0xFFFFFFFF when unparsable.
  static std::uint32_t ParseDottedQuad(const std::string& text);
};

}  // namespace corvane
