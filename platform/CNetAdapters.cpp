#include "platform/CNetAdapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace corvane::platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

std::string Driver(const std::string& sysNet) {
  char buffer[512];
  const ssize_t n = ::readlink((sysNet + "/device/driver").c_str(), buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  std::string link(buffer, static_cast<std::size_t>(n));
  return link.substr(link.rfind('/') + 1);
}

}  // namespace

NetAdapter CNetAdapters::Describe(const std::string& name) const {
  NetAdapter adapter;
  adapter.name = name;
  adapter.firstIPv4 = "0.0.0.0";
  const std::string sysNet = m_sysRoot + "/class/net/" + name;
  int arpType = -1;
  std::ifstream(sysNet + "/type") >> arpType;
  if (Exists(sysNet + "/wireless") || Exists(sysNet + "/phy80211"))
    adapter.type = 71;
  else if (arpType == ARPHRD_LOOPBACK)
    adapter.type = 24;
  else if (arpType == ARPHRD_ETHER)
    adapter.type = 6;
  const std::string driver = Driver(sysNet);
  adapter.description = driver.empty() ? name : name + " (" + driver + ")";
  return adapter;
}

std::vector<NetAdapter> CNetAdapters::Enumerate(int* errorCode) const {
  if (errorCode) *errorCode = 0;
  std::vector<NetAdapter> adapters;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) {
    if (errorCode) *errorCode = errno;
    return adapters;
  }
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_name) continue;
    const std::string name = a->ifa_name;
    auto it = std::find_if(adapters.begin(), adapters.end(), [&](const NetAdapter& x) { return x.name == name; });
    if (it == adapters.end()) {
      adapters.push_back(Describe(name));
      it = adapters.end() - 1;
    }
    if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET && it->firstIPv4 == "0.0.0.0") {
      char text[INET_ADDRSTRLEN] = {};
      const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
      if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) it->firstIPv4 = text;
    }
  }
  ::freeifaddrs(list);
  return adapters;
}

}  // namespace corvane::platform
