#pragma once
// What the searches know about the maker's devices: which identities open a module, which
// devices list sub-modules and at which register, which sub-modules are communication cards,
// and the Modbus probes that ask for them. Every branch of the search asks here.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

// The identity probe (serial link): function 0x67, two registers from 0x0012.
inline constexpr std::uint8_t kIdentityFunction = 0x67;
inline constexpr std::array<std::uint8_t, 4> kIdentityProbe = {0x00, 0x12, 0x00, 0x02};
// The sub-module list: function 3, eight registers from SubModuleRegister.
inline constexpr std::uint8_t kSubModuleFunction = 3;
inline constexpr std::size_t kSubModuleCount = 8;

class CDeviceRules {
public:
  // The identity w0, w1 names a device whose own module opens (w0 = 1 and a known w1).
  static bool IsIdentityModule(std::uint16_t w0, std::uint16_t w1);
  // Devices heard in a discovery reply that are asked for their sub-modules.
  static bool HasSubModules(std::uint16_t code);
  // Devices the manager branch reaches over Modbus TCP (without asking them anything).
  static bool IsManagerProbed(std::uint16_t code);
  // The first register of the device's sub-module list: 0xC608 for 0x0022 and 0x0023, else 0x156A.
  static std::uint16_t SubModuleRegister(std::uint16_t code);
  // The communication cards, the only sub-modules the Ethernet search opens.
  static bool IsCardCode(std::uint16_t code);
  // The four data bytes asking for the list at that register.
  static std::array<std::uint8_t, 4> SubModuleProbe(std::uint16_t reg);
  // Up to eight big-endian registers of a reply's data, stopping at the first 0.
  static std::vector<std::uint16_t> SubModuleList(std::span<const std::uint8_t> data);
};

}  // namespace corvane
