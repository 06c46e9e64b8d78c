#pragma once
// Framing of the traffic between this program and the PORTHUB manager on its TCP connection:
// a 16-byte big-endian header, then the payload.
//   0-1 magic 0x5048 ("PH")   2-3 command (257 = datagram to a device)   4-7 driver id (signed)
//   8-11 IPv4, first octet first   12-13 UDP port   14-15 payload length (at most kMaxPayload)
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::porthub {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kMaxPayload = 1024;
constexpr std::uint16_t kMagic = 0x5048;
constexpr std::uint16_t kCommandDatagram = 257;

struct Header {
  std::uint16_t command = kCommandDatagram;
  std::int32_t driverId = -1;
  std::uint32_t address = 0;  // first octet in the most significant byte
  std::uint16_t port = 0;
  std::uint16_t length = 0;
};

std::vector<std::uint8_t> Encode(const Header& header, const std::uint8_t* payload);
// False when the magic is wrong or the length is above kMaxPayload.
bool Decode(const std::uint8_t* raw, Header& header);

}  // namespace corvane::porthub
