#include "modbus/CModbusTransfer.h"

#include "modbus/CModbusReply.h"

namespace corvane {

std::string CModbusTransfer::Failure(std::uint8_t station, const ModbusAnswer& answer) {
  const std::string who = "station " + std::to_string(station);
  if (answer.result == modbus::kException) return who + " answered with " + answer.FailureText();
  return "no answer from " + who + ": " + answer.FailureText();
}

Checked<std::vector<std::uint16_t>> CModbusTransfer::Registers(IModbusClient& client, std::uint8_t station,
                                                               std::uint8_t function,
                                                               std::span<const std::uint8_t> request, int count) {
  using Fail = Checked<std::vector<std::uint16_t>>;
  const ModbusAnswer answer = client.Transact(station, function, request);
  if (answer.result <= 0) return Fail::Fail(Failure(station, answer));
  auto regs = CModbusReply::Registers(answer.data, count);
  return regs ? regs : Fail::Fail("station " + std::to_string(station) + ": " + regs.Error());
}

Checked<std::vector<bool>> CModbusTransfer::Bits(IModbusClient& client, std::uint8_t station, std::uint8_t function,
                                                 std::span<const std::uint8_t> request, int count) {
  using Fail = Checked<std::vector<bool>>;
  const ModbusAnswer answer = client.Transact(station, function, request);
  if (answer.result <= 0) return Fail::Fail(Failure(station, answer));
  auto bits = CModbusReply::Bits(answer.data, count);
  return bits ? bits : Fail::Fail("station " + std::to_string(station) + ": " + bits.Error());
}

std::string CModbusTransfer::Write(IModbusClient& client, std::uint8_t station, std::uint8_t function,
                                   std::span<const std::uint8_t> request) {
  const ModbusAnswer answer = client.Transact(station, function, request);
  if (answer.result <= 0) return Failure(station, answer);
  const std::string why = CModbusReply::CheckEcho(request, answer.data);
  return why.empty() ? why : "station " + std::to_string(station) + ": " + why;
}

}  // namespace corvane
