#include "comm/CNetworkAdapterFilter.h"

#include <arpa/inet.h>

namespace corvane {

bool CNetworkAdapterFilter::Keeps(const RawAdapter& a) {
  return (a.type == kEthernet || a.type == kWireless) && a.description.find("Bluetooth") == std::string::npos;
}

void CNetworkAdapterFilter::EnumNetworkAdapters(const std::function<AdapterQuery()>& source,
                                                std::vector<std::string>& names, std::vector<std::string>& ips,
                                                std::ostream& diagnostics) {
  names.clear();
  ips.clear();
  if (!source) return;
  const AdapterQuery query = source();
  if (query.status == AdapterQuery::kNoMemory) {
    diagnostics << "Error allocating memory needed to call GetAdaptersinfo\n";
    return;
  }
  if (query.status != 0) {
    diagnostics << "GetAdaptersInfo failed with error: " << query.status << "\n";
    return;
  }
  for (const RawAdapter& a : query.adapters) {
    if (!Keeps(a)) continue;
    names.push_back(a.description);
    ips.push_back(a.firstIPv4);
  }
}

std::uint32_t CNetworkAdapterFilter::ParseDottedQuad(const std::string& text) {
  in_addr addr{};
  if (::inet_pton(AF_INET, text.c_str(), &addr) != 1) return 0xFFFFFFFFu;
  return ntohl(addr.s_addr);
}

}  // namespace corvane
