#pragma once
// The project file's check value: the link's Modbus CRC-16, computed a byte at a time
// from a table because project files run to megabytes.
#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {

class CProjectCheck {
public:
  static std::uint16_t Compute(std::span<const std::uint8_t> data) noexcept;
};

}  // namespace corvane
