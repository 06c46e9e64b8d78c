#pragma once
// One Modbus request and its reply, whatever the link: what a scan, an identification read or a
// register tool needs from a link.
#include <cstdint>
#include <span>
#include <vector>

#include "libs/portlink/ModbusFrame.h"

namespace corvane {

struct ModbusAnswer {
  // Above 0: the reply's data bytes are in `data` (as CPortLink::Response gives them); else the
  // link's result code (time-out, checksum, exception, ...).
  int result = 0;
  int exception = 0;  // the exception code of an exception reply
  std::vector<std::uint8_t> data;

  // A station is there: it answered with data or with an exception.
  bool Answered() const noexcept { return result > 0 || result == modbus::kException; }
};

class IModbusClient {
public:
  virtual ~IModbusClient() = default;
  // `data` follows the function code in the request.
  virtual ModbusAnswer Transact(std::uint8_t station, std::uint8_t function, std::span<const std::uint8_t> data) = 0;
};

}  // namespace corvane
