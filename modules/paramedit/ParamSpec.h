#pragma once
// One parameter of a device: a 16-bit holding register with a name, a unit and a range.
#include <cstdint>
#include <string>

namespace corvane::paramedit {

struct ParamSpec {
  std::uint16_t address = 0;
  std::string name;
  std::string unit;
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  bool readOnly = false;

  // A range with a negative minimum is stored as a two's-complement register.
  bool IsSigned() const { return minimum < 0; }
  bool InRange(std::int32_t value) const { return value >= minimum && value <= maximum; }
  std::int32_t FromRegister(std::uint16_t word) const {
    return IsSigned() ? static_cast<std::int16_t>(word) : static_cast<std::int32_t>(word);
  }
  static std::uint16_t ToRegister(std::int32_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }
};

}  // namespace corvane::paramedit
