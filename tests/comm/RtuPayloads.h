#pragma once
// RTU replies whose data holds frames of their own: a CRC-valid 5-byte exception frame of the
// same station, a copy of the station right after the header, an 8-byte write echo, bytes 0xFF.
// Read as they arrive, any of these would be taken for the reply by a decoder that accepts the
// first CRC-valid window.
#include <string>
#include <vector>

#include "tests/comm/PeerHelpers.h"

namespace commtest {

struct RtuPayload {
  std::string name;
  std::uint8_t station;
  Bytes data;   // the registers' bytes
  Bytes frame;  // the whole reply to function 3
};

inline RtuPayload MakeRtuPayload(std::string name, std::uint8_t station, Bytes data) {
  Bytes pdu{station, 0x03, static_cast<std::uint8_t>(data.size())};
  pdu.insert(pdu.end(), data.begin(), data.end());
  return {std::move(name), station, std::move(data), WithCrc(pdu)};
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline std::vector<RtuPayload> TrickyRtuPayloads() {
  const Bytes exception1 = WithCrc({0x01, 0x83, 0x02});  // 5 bytes, CRC-valid
  const Bytes exception3 = WithCrc({0x03, 0x83, 0x02});
  const Bytes echo = WithCrc({0x01, 0x06, 0x00, 0x10, 0x12, 0x34});  // 8 bytes, CRC-valid
  Bytes noise(250 - 1 - 5 - 8 - 1, 0);
  std::uint32_t x = 12345;
  for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>((x = x * 1103515245 + 12345) >> 16);
  return {
      // Station 1 at data offset 0 (frame offset 3) starts a valid exception frame.
      MakeRtuPayload("exception window at the start", 1, Concat({exception1, {0x00, 0x15, 0x40}})),
      // Station 3, function 3: offset 1 is a copy of the station.
      MakeRtuPayload("station copy at offset 1", 3, Concat({{0x00}, exception3, {0x00, 0x03, 0x03, 0x00}})),
      MakeRtuPayload("write echo and 0xFF bytes", 1, Concat({{0xFF, 0xFF}, echo, {0x01, 0xFF}})),
      MakeRtuPayload("125 registers, windows inside", 1, Concat({{0x01}, exception1, noise, echo, {0xFF}})),
  };
}

// Piece sizes, repeated until the frame is out; 0 = the whole frame at once.
inline std::vector<std::vector<std::size_t>> RtuSplits() { return {{0}, {1}, {4}, {3, 5}, {2, 7, 1}, {6, 250}}; }

}  // namespace commtest
