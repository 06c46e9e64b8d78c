#include "discovery/CDeviceRules.h"

namespace corvane {

bool CDeviceRules::IsIdentityModule(std::uint16_t w0, std::uint16_t w1) {
  return w0 == 1 && (w1 == 0x0015 || w1 == 0xA002 || w1 == 0x001A || w1 == 0x0017);
}

bool CDeviceRules::HasSubModules(std::uint16_t code) {
  switch (code) {
    case 0x0405: case 0x0015: case 0xA002: case 0x0022: case 0x0023: return true;
    default: return false;
  }
}

bool CDeviceRules::IsManagerProbed(std::uint16_t code) {
  return code == 0x0405 || code == 0x0015 || code == 0xA002;
}

std::uint16_t CDeviceRules::SubModuleRegister(std::uint16_t code) {
  return (code == 0x0022 || code == 0x0023) ? 0xC608 : 0x156A;
}

bool CDeviceRules::IsCardCode(std::uint16_t code) { return code == 0x4041 || code == 0x4042; }

std::array<std::uint8_t, 4> CDeviceRules::SubModuleProbe(std::uint16_t reg) {
  return {static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg & 0xFF), 0x00,
          static_cast<std::uint8_t>(kSubModuleCount)};
}

std::vector<std::uint16_t> CDeviceRules::SubModuleList(std::span<const std::uint8_t> data) {
  std::vector<std::uint16_t> list;
  for (std::size_t i = 0; i < kSubModuleCount && 2 * i + 1 < data.size(); ++i) {
    const auto value = static_cast<std::uint16_t>((data[2 * i] << 8) | data[2 * i + 1]);
    if (value == 0) break;
    list.push_back(value);
  }
  return list;
}

}  // namespace corvane
