#include "modbus/CModbusReply.h"

#include <algorithm>
#include <string>

namespace corvane {

Checked<std::vector<bool>> CModbusReply::Bits(std::span<const std::uint8_t> data, int count) {
  const std::size_t want = static_cast<std::size_t>(count + 7) / 8;
  if (count < 0 || data.size() != want)
    return Checked<std::vector<bool>>::Fail("the reply carries " + std::to_string(data.size()) + " data bytes; " +
                                           std::to_string(count) + " bits need " + std::to_string(want));
  std::vector<bool> bits(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    bits[static_cast<std::size_t>(i)] = (data[static_cast<std::size_t>(i / 8)] >> (i % 8)) & 1;
  return bits;
}

Checked<std::vector<std::uint16_t>> CModbusReply::Registers(std::span<const std::uint8_t> data, int count) {
  if (count < 0 || data.size() != 2u * static_cast<std::size_t>(count))
    return Checked<std::vector<std::uint16_t>>::Fail("the reply carries " + std::to_string(data.size()) +
                                                    " data bytes; " + std::to_string(count) + " registers need " +
                                                    std::to_string(2 * count));
  std::vector<std::uint16_t> regs(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < regs.size(); ++i)
    regs[i] = static_cast<std::uint16_t>((data[2 * i] << 8) | data[2 * i + 1]);
  return regs;
}

std::string CModbusReply::CheckEcho(std::span<const std::uint8_t> request, std::span<const std::uint8_t> echo) {
  if (request.size() < 4 || echo.size() != 4) return "the reply to the write carries " + std::to_string(echo.size()) +
                                                     " bytes instead of its 4-byte echo";
  if (!std::equal(echo.begin(), echo.end(), request.begin()))
    return "the reply to the write does not echo its address and count or value";
  return {};
}

}  // namespace corvane
