#include "project/CProjectCheck.h"

#include <array>

#include "libs/portlink/Crc16.h"

namespace corvane {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    const std::uint8_t byte = static_cast<std::uint8_t>(i);
    // The effect of one byte on a zero register; the register's low byte is folded in at use.
    table[i] = Crc16Modbus(&byte, 1, 0);
  }
  return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

std::uint16_t CProjectCheck::Compute(std::span<const std::uint8_t> data) noexcept {
  std::uint16_t crc = 0xFFFF;
  for (const std::uint8_t b : data)
    crc = static_cast<std::uint16_t>((crc >> 8) ^ kTable[static_cast<std::uint8_t>(crc ^ b)]);
  return crc;
}

}  // namespace corvane
