#include "app/CLinkPreset.h"

#include <arpa/inet.h>

#include <array>
#include <cctype>
#include <climits>
#include <utility>

#include "comm/LinkType.h"

namespace corvane {

int FieldToInt(const std::string& field) {
  std::size_t i = 0;
  while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  long long value = 0;
  for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i) {
    value = value * 10 + (field[i] - '0');
    if (value > INT_MAX) { value = INT_MAX; break; }  // a field of digits must not overflow
  }
  return static_cast<int>(negative ? -value : value);
}

std::uint32_t DottedToHost(const std::string& dotted) {
  const in_addr_t net = inet_addr(dotted.c_str());  // INADDR_NONE when unreadable
  return ntohl(net);
}

std::string MapDeviceIdentity(const std::string& code) {
  static const std::array<std::pair<const char*, const char*>, 7> kTable{{
      {"00060000FF000003", "0203"},
      {"00060000FF000004", "0204"},
      {"00060000FF000103", "0103"},
      {"00060000FF000104", "0104"},
      {"00060000FF000206", "0206"},
      {"00060000FF000205", "0205"},
      {"0001000002003401", "0405"},
  }};
  for (const auto& [identity, moduleCode] : kTable)
    if (code == identity) return moduleCode;
  return code;
}

LinkPreset ParseLinkPreset(const std::string& field2, const std::string& field3,
                           const std::string& field4, const std::string& field5) {
  LinkPreset preset;
  if (FieldToInt(field2) == 0) {
    switch (FieldToInt(field3)) {
      case 0:
        preset.commType = LinkTypeNumber(LinkType::Serial);
        preset.comPortNum = FieldToInt(field4);
        break;
      case 1:
        preset.commType = LinkTypeNumber(LinkType::Ethernet);
        preset.ipAddress = DottedToHost(field4);
        break;
      default:
        break;
    }
  }
  preset.moduleCode = MapDeviceIdentity(field5);
  return preset;
}

}  // namespace corvane
