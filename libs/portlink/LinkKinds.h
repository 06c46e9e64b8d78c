#pragma once
// The numbers CPortLink's calls take for a link's type (the CommType the settings store) and a
// serial link's Modbus mode, named. Every branch on them compares against these.
#include <cstdint>
#include <optional>

namespace corvane {

enum class LinkType : std::int32_t { Serial = 0, Ethernet = 1, Manager = 2 };
enum class ModbusMode : std::int32_t { Ascii = 1, Rtu = 2 };

constexpr int LinkTypeNumber(LinkType type) { return static_cast<int>(type); }

// The stored CommType (or a link-type argument) as a link type; none for any other value.
constexpr std::optional<LinkType> ToLinkType(std::int32_t commType) {
  switch (commType) {
    case LinkTypeNumber(LinkType::Serial): return LinkType::Serial;
    case LinkTypeNumber(LinkType::Ethernet): return LinkType::Ethernet;
    case LinkTypeNumber(LinkType::Manager): return LinkType::Manager;
    default: return std::nullopt;
  }
}

constexpr bool IsLinkType(std::int32_t commType, LinkType type) { return commType == LinkTypeNumber(type); }

// The mode number CPortLink::SetModbusMode takes (the stored ModbusMode + 1); none for others.
constexpr std::optional<ModbusMode> ToModbusMode(std::int32_t mode) {
  if (mode != static_cast<int>(ModbusMode::Ascii) && mode != static_cast<int>(ModbusMode::Rtu)) return std::nullopt;
  return static_cast<ModbusMode>(mode);
}

}  // namespace corvane
