#pragma once
// The link types: the numbers CommType stores and both communication libraries take as the
// link-type argument. Every branch on the link type compares against these.
#include <cstdint>
#include <optional>

namespace corvane {

enum class LinkType : std::int32_t { Serial = 0, Ethernet = 1, Manager = 2 };

constexpr int LinkTypeNumber(LinkType type) { return static_cast<int>(type); }

// The stored CommType as a link type; none for any other value.
constexpr std::optional<LinkType> ToLinkType(std::int32_t commType) {
  switch (commType) {
    case LinkTypeNumber(LinkType::Serial): return LinkType::Serial;
    case LinkTypeNumber(LinkType::Ethernet): return LinkType::Ethernet;
    case LinkTypeNumber(LinkType::Manager): return LinkType::Manager;
    default: return std::nullopt;
  }
}

constexpr bool IsLinkType(std::int32_t commType, LinkType type) { return commType == LinkTypeNumber(type); }

}  // namespace corvane
