#pragma once
// What read, write and poll access: the function, the first address, how many values and their
// format (-f -r -c -t --word-order --byte-order), and the values read, shown in that format.
#include <cstdint>
#include <string>
#include <vector>

#include "modbus/CModbusRequest.h"
#include "modbus/IModbusClient.h"
#include "registers/CRegisterCodec.h"
#include "tools/cli/CArgs.h"
#include "tools/cli/CJsonWriter.h"

namespace corvane::cli {

struct AccessPlan {
  const ModbusFunction* function = nullptr;
  int address = 0;
  int count = 1;  // values; a 32-bit value is one
  CRegisterCodec codec;
  ModbusBytes request;  // a read's request, built and checked

  // Bits or registers on the wire.
  int Units() const { return function->Bits() ? count : count * codec.Width(); }
  int AddressOf(int value) const { return address + (function->Bits() ? value : value * codec.Width()); }
  // "0" or "1" for a bit, else the value in its format.
  std::string Text(std::uint64_t value) const;
  void Json(CJsonWriter& json, std::uint64_t value) const;
};

class CRegisterAccess {
public:
  // -f -r -c -t --word-order --byte-order; `write` gives -f's choice for write.
  static std::vector<OptionSpec> Specs(bool write);
  // A read: function 1 to 4 (default 3), address, count within the function's limit.
  static Checked<AccessPlan> ForRead(const CArgs& args);
  // The format and orders alone, for write; the function and count follow from the values.
  static Checked<AccessPlan> Format(const CArgs& args);
  // One read: the values (bits as 0 and 1), or why there are none.
  static Checked<std::vector<std::uint64_t>> Read(IModbusClient& client, int station, const AccessPlan& plan);
};

}  // namespace corvane::cli
