#pragma once
// One read or write of functions 1 to 6, 15 and 16 through a Modbus client: the request (as
// CModbusRequest built it) sent, the reply checked against it, every failure in words
// ("station 3 answered with exception 2", "no answer from station 3: time-out").
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "modbus/IModbusClient.h"
#include "registers/Checked.h"

namespace corvane {

class CModbusTransfer {
public:
  // Functions 3 and 4: `count` registers.
  static Checked<std::vector<std::uint16_t>> Registers(IModbusClient& client, std::uint8_t station,
                                                       std::uint8_t function, std::span<const std::uint8_t> request,
                                                       int count);
  // Functions 1 and 2: `count` bits.
  static Checked<std::vector<bool>> Bits(IModbusClient& client, std::uint8_t station, std::uint8_t function,
                                         std::span<const std::uint8_t> request, int count);
  // Functions 5, 6, 15 and 16: empty when the device echoed the write, else why not.
  static std::string Write(IModbusClient& client, std::uint8_t station, std::uint8_t function,
                           std::span<const std::uint8_t> request);

  // "station 3 answered with exception 2", "no answer from station 3: time-out".
  static std::string Failure(std::uint8_t station, const ModbusAnswer& answer);
};

}  // namespace corvane
