#pragma once
// The data of a reply to functions 1 to 6, 15 and 16, checked against the request: as many
// values as were asked, and a write's echo equal to what was written.
#include <cstdint>
#include <span>
#include <vector>

#include "registers/Checked.h"

namespace corvane {

class CModbusReply {
public:
  // Functions 1 and 2: the data bytes after the byte count, `count` bits asked.
  static Checked<std::vector<bool>> Bits(std::span<const std::uint8_t> data, int count);
  // Functions 3 and 4: big-endian registers, `count` asked.
  static Checked<std::vector<std::uint16_t>> Registers(std::span<const std::uint8_t> data, int count);
  // Functions 5, 6, 15 and 16: the four echo bytes equal the request's first four. Empty when
  // they do, else what differs.
  static std::string CheckEcho(std::span<const std::uint8_t> request, std::span<const std::uint8_t> echo);
};

}  // namespace corvane
