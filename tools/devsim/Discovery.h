#pragma once
// The discovery datagram: the 36-byte request, the 100-byte reply record and SLIP framing.
#include <cstdint>
#include <vector>

namespace corvane::devsim {

class Discovery {
 public:
  static constexpr std::size_t kRequestSize = 36;
  static constexpr std::size_t kRecordSize = 100;

  static bool IsRequest(const std::uint8_t* data, std::size_t size);
  // Code big-endian at 0-1, reply marker 0x0002 at 2-3, station at 4,
  // IPv4 little-endian (first octet most significant) at 72-75.
  static std::vector<std::uint8_t> Record(std::uint16_t code, std::uint8_t station, std::uint32_t ip);
  // Two's complement of the byte sum.
  static std::uint8_t Check(const std::uint8_t* data, std::size_t size);
  static std::vector<std::uint8_t> SlipEncode(const std::vector<std::uint8_t>& data);
  // Bytes between two END bytes (ENDs excluded).
  static std::vector<std::uint8_t> SlipDecode(const std::uint8_t* data, std::size_t size);
};

}  // namespace corvane::devsim
