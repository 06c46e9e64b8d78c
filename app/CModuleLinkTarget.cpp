#include "app/CModuleLinkTarget.h"

#include <charconv>

#include "discovery/CDiscoveryFrame.h"

namespace corvane {
namespace {
bool Usable(std::uint32_t address) { return address != 0 && address != 0xFFFFFFFFu; }
}  // namespace

std::uint32_t ModuleDeviceAddress(const std::string& moduleCode, const CReplyTable& replies, std::uint32_t target) {
  unsigned code = 0;
  const auto [end, ec] = std::from_chars(moduleCode.data(), moduleCode.data() + moduleCode.size(), code, 16);
  const bool haveCode = ec == std::errc() && end == moduleCode.data() + moduleCode.size() && moduleCode.size() == 4;
  std::uint32_t only = 0;
  int usable = 0;
  for (std::size_t i = 0; i < kMaxReplies && replies.Code(i) != 0; ++i) {
    const std::uint32_t address = replies.Address(i);
    if (!Usable(address)) continue;
    if (haveCode && replies.Code(i) == code) return address;
    if (address != only) ++usable;
    only = address;
  }
  if (usable == 1) return only;
  return Usable(target) ? target : 0;
}

}  // namespace corvane
