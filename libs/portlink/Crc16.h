#pragma once
// Modbus CRC-16 (polynomial 0xA001 reflected, initial 0xFFFF). Shared by the link's
// framing, its GetCRC16 and the project file check value.
#include <cstddef>
#include <cstdint>

namespace corvane {

constexpr std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length,
                                    std::uint16_t crc = 0xFFFF) noexcept {
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

}  // namespace corvane
