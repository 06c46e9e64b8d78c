#pragma once
// One Modbus request and its reply, whatever the link: what a scan, an identification read or a
// register tool needs from a link.
#include <cstdint>
#include <span>

#include "modbus/ModbusAnswer.h"

namespace corvane {

class IModbusClient {
public:
  virtual ~IModbusClient() = default;
  // `data` follows the function code in the request.
  virtual ModbusAnswer Transact(std::uint8_t station, std::uint8_t function, std::span<const std::uint8_t> data) = 0;
};

}  // namespace corvane
