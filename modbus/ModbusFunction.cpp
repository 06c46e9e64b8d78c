#include "modbus/ModbusFunction.h"

#include <array>

namespace corvane {
namespace {

constexpr std::array<ModbusFunction, 8> kFunctions = {{
    {1, "read coils", ModbusTable::Coils, false, 2000},
    {2, "read discrete inputs", ModbusTable::DiscreteInputs, false, 2000},
    {3, "read holding registers", ModbusTable::HoldingRegisters, false, 125},
    {4, "read input registers", ModbusTable::InputRegisters, false, 125},
    {5, "write single coil", ModbusTable::Coils, true, 1},
    {6, "write single register", ModbusTable::HoldingRegisters, true, 1},
    {15, "write multiple coils", ModbusTable::Coils, true, 1968},
    {16, "write multiple registers", ModbusTable::HoldingRegisters, true, 123},
}};

}  // namespace

const ModbusFunction* FindModbusFunction(int code) {
  for (const ModbusFunction& f : kFunctions)
    if (f.code == code) return &f;
  return nullptr;
}

std::string_view ModbusFunctionCodes(bool write) { return write ? "5, 6, 15, 16" : "1, 2, 3, 4"; }

}  // namespace corvane
