#pragma once
// The Modbus functions a client reads and writes data with: which table each reaches, whether
// it writes, and how many values one request may carry.
#include <cstdint>
#include <string_view>

namespace corvane {

enum class ModbusTable { Coils, DiscreteInputs, HoldingRegisters, InputRegisters };

struct ModbusFunction {
  std::uint8_t code;
  std::string_view name;  // "read holding registers"
  ModbusTable table;
  bool write;
  int maxCount;  // values one request may carry: 2000 bits, 125 registers, ...

  bool Bits() const noexcept { return table == ModbusTable::Coils || table == ModbusTable::DiscreteInputs; }
  bool Single() const noexcept { return write && maxCount == 1; }
};

// Functions 1, 2, 3, 4, 5, 6, 15 and 16; null for any other code.
const ModbusFunction* FindModbusFunction(int code);
// "1, 2, 3, 4" or "5, 6, 15, 16", for messages.
std::string_view ModbusFunctionCodes(bool write);

}  // namespace corvane
