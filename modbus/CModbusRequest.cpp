#include "modbus/CModbusRequest.h"

#include <string>

namespace corvane {
namespace {

void PutBe16(ModbusBytes& out, int v) {
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

std::string Named(const ModbusFunction& f) { return "function " + std::to_string(f.code) + " (" + std::string(f.name) + ")"; }

}  // namespace

std::string CModbusRequest::CheckRange(const ModbusFunction& f, int address, int count) {
  if (address < 0 || address > 0xFFFF) return "address " + std::to_string(address) + " is outside 0 to 65535";
  if (count < 1 || count > f.maxCount) {
    if (f.maxCount == 1) return Named(f) + " takes exactly one value, not " + std::to_string(count);
    return "count " + std::to_string(count) + " is beyond the limit of " + Named(f) + ": 1 to " +
           std::to_string(f.maxCount);
  }
  if (address + count - 1 > 0xFFFF)
    return std::to_string(count) + " values from address " + std::to_string(address) + " run past address 65535";
  return {};
}

Checked<ModbusBytes> CModbusRequest::Read(const ModbusFunction& f, int address, int count) {
  if (f.write) return Checked<ModbusBytes>::Fail(Named(f) + " writes; it cannot read");
  if (const std::string why = CheckRange(f, address, count); !why.empty()) return Checked<ModbusBytes>::Fail(why);
  ModbusBytes data;
  PutBe16(data, address);
  PutBe16(data, count);
  return data;
}

Checked<ModbusBytes> CModbusRequest::WriteBits(const ModbusFunction& f, int address, const std::vector<bool>& bits) {
  if (!f.write || !f.Bits()) return Checked<ModbusBytes>::Fail(Named(f) + " does not write coils");
  const int count = static_cast<int>(bits.size());
  if (const std::string why = CheckRange(f, address, count); !why.empty()) return Checked<ModbusBytes>::Fail(why);
  ModbusBytes data;
  PutBe16(data, address);
  if (f.Single()) {
    PutBe16(data, bits[0] ? 0xFF00 : 0x0000);
    return data;
  }
  PutBe16(data, count);
  data.push_back(static_cast<std::uint8_t>((count + 7) / 8));
  for (int i = 0; i < count; i += 8) {
    std::uint8_t byte = 0;
    for (int b = 0; b < 8 && i + b < count; ++b)
      if (bits[static_cast<std::size_t>(i + b)]) byte = static_cast<std::uint8_t>(byte | (1u << b));
    data.push_back(byte);
  }
  return data;
}

Checked<ModbusBytes> CModbusRequest::WriteRegisters(const ModbusFunction& f, int address,
                                                    std::span<const std::uint16_t> registers) {
  if (!f.write || f.Bits()) return Checked<ModbusBytes>::Fail(Named(f) + " does not write registers");
  const int count = static_cast<int>(registers.size());
  if (const std::string why = CheckRange(f, address, count); !why.empty()) return Checked<ModbusBytes>::Fail(why);
  ModbusBytes data;
  PutBe16(data, address);
  if (f.Single()) {
    PutBe16(data, registers[0]);
    return data;
  }
  PutBe16(data, count);
  data.push_back(static_cast<std::uint8_t>(2 * count));
  for (const std::uint16_t r : registers) PutBe16(data, r);
  return data;
}

}  // namespace corvane
