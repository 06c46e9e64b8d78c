#include "discovery/CLinkStatusText.h"

#include <cstdio>

#include "comm/LinkType.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

std::string Format(const char* fmt, int a) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, a);
  return buf;
}

std::string Dotted(std::uint32_t ip) {
  char buf[20];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", (ip >> 24) & 0xFFu, (ip >> 16) & 0xFFu, (ip >> 8) & 0xFFu, ip & 0xFFu);
  return buf;
}

}  // namespace

std::optional<LinkStatusText> CLinkStatusText::Make(const LinkStatusInput& link) {
  LinkStatusText t;
  const std::optional<LinkType> type = ToLinkType(link.CommType);
  if (!type) return std::nullopt;
  switch (*type) {
    case LinkType::Serial:
      t.linkType = "RS-232";
      t.address = Format("COM%d", link.ComPortNum);
      break;
    case LinkType::Ethernet:
      t.linkType = TranslateText("LinkStatus", CVN_STR("LinkStatus", "Ethernet"));
      if (link.IPAddress == 0xFFFFFFFFu)
        t.address = TranslateText("LinkStatus", CVN_STR("LinkStatus", "BROADCAST"));
      else if (!link.m_bLinkPreset)
        t.address = Dotted(link.IPAddress);
      break;
    case LinkType::Manager:
      // The number is appended, never formatted through a translated text.
      t.linkType = TranslateText("LinkStatus", CVN_STR("LinkStatus", "Driver")) + std::to_string(link.PorthubDrv);
      switch (link.PorthubInter) {
        case 1: t.address = "[RS232: COM" + std::to_string(link.PorthubCOM) + "]"; break;
        case 2: t.address = "[USB: COM" + std::to_string(link.PorthubCOM) + "]"; break;
        case 3: t.address = "[" + TranslateText("LinkStatus", "Ethernet") + "]"; break;
        default: break;
      }
      break;
  }
  if (t.address.size() > kMaxAddressLength) t.address.resize(kMaxAddressLength);
  return t;
}

}  // namespace corvane
