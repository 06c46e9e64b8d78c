#pragma once
// The discovery request and its serial (SLIP) framing, and the table of replies.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

inline constexpr std::size_t kDiscoveryRequestSize = 36;
inline constexpr std::size_t kReplyRecordSize = 100;
inline constexpr std::size_t kMaxReplies = 255;
inline constexpr int kDiscoveryPort = 20006;  // UDP, on the devices
inline constexpr std::uint8_t kSlipEnd = 0xC0;
inline constexpr std::uint8_t kSlipEsc = 0xDB;
inline constexpr std::uint8_t kSlipEscEnd = 0xDC;
inline constexpr std::uint8_t kSlipEscEsc = 0xDD;

// The 36 request bytes: 0x0405, 0x0001, then zeros (all big-endian).
std::array<std::uint8_t, kDiscoveryRequestSize> BuildDiscoveryRequest();
// Two's complement of the 8-bit sum.
std::uint8_t CheckByte(std::span<const std::uint8_t> bytes);
// END, the escaped bytes, END.
std::vector<std::uint8_t> SlipEncode(std::span<const std::uint8_t> bytes);
// The request, its check byte, framed: C0 04 05 00 01, 32 zeros, F6, C0.
std::vector<std::uint8_t> BuildSerialDiscoveryFrame();
// Decodes from the first END to the next (later bytes dropped); bytes before the first END
// are skipped. An escape followed by anything else keeps that byte. Without an END, empty.
std::vector<std::uint8_t> SlipDecode(std::span<const std::uint8_t> bytes);

class CReplyTable {
public:
  using Record = std::array<std::uint8_t, kReplyRecordSize>;

  void Clear() { m_records.fill(Record{}); }
  // The first 100 bytes of a reply (shorter replies are zero-filled behind).
  void Store(std::size_t index, std::span<const std::uint8_t> reply);
  const Record& At(std::size_t index) const { return m_records.at(index); }
  // The records before the first whose code is 0.
  std::size_t Count() const;
  // Bytes 0-1, big-endian.
  std::uint16_t Code(std::size_t index) const;
  // Bytes 72-75, little-endian, first octet in the most significant byte.
  std::uint32_t Address(std::size_t index) const;

private:
  std::array<Record, kMaxReplies> m_records{};
};

}  // namespace corvane
