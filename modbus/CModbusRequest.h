#pragma once
// The data bytes of the requests of functions 1 to 6, 15 and 16 (after the function code),
// built only when address, count and values fit the function.
#include <cstdint>
#include <span>
#include <vector>

#include "modbus/ModbusFunction.h"
#include "registers/Checked.h"

namespace corvane {

using ModbusBytes = std::vector<std::uint8_t>;

class CModbusRequest {
public:
  // Functions 1 to 4: `count` values from `address`.
  static Checked<ModbusBytes> Read(const ModbusFunction& function, int address, int count);
  // Functions 5 and 15.
  static Checked<ModbusBytes> WriteBits(const ModbusFunction& function, int address, const std::vector<bool>& bits);
  // Functions 6 and 16.
  static Checked<ModbusBytes> WriteRegisters(const ModbusFunction& function, int address,
                                             std::span<const std::uint16_t> registers);
  // Why `count` values from `address` do not fit the function; empty when they do.
  static std::string CheckRange(const ModbusFunction& function, int address, int count);
};

}  // namespace corvane
