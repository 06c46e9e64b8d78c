#include "discovery/CDiscoveryFrame.h"

#include <algorithm>

namespace corvane {

std::array<std::uint8_t, kDiscoveryRequestSize> BuildDiscoveryRequest() {
  std::array<std::uint8_t, kDiscoveryRequestSize> request{};
  request[0] = 0x04;
  request[1] = 0x05;
  request[2] = 0x00;
  request[3] = 0x01;
  return request;
}

std::uint8_t CheckByte(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  return static_cast<std::uint8_t>(0x100 - sum);
}

std::vector<std::uint8_t> SlipEncode(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size() + 2);
  out.push_back(kSlipEnd);
  for (std::uint8_t b : bytes) {
    if (b == kSlipEnd) {
      out.push_back(kSlipEsc);
      out.push_back(kSlipEscEnd);
    } else if (b == kSlipEsc) {
      out.push_back(kSlipEsc);
      out.push_back(kSlipEscEsc);
    } else {
      out.push_back(b);
    }
  }
  out.push_back(kSlipEnd);
  return out;
}

std::vector<std::uint8_t> BuildSerialDiscoveryFrame() {
  const auto request = BuildDiscoveryRequest();
  std::vector<std::uint8_t> body(request.begin(), request.end());
  body.push_back(CheckByte(request));
  return SlipEncode(body);
}

std::vector<std::uint8_t> SlipDecode(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  const auto start = std::find(bytes.begin(), bytes.end(), kSlipEnd);
  if (start == bytes.end()) return out;
  for (auto it = start + 1; it != bytes.end() && *it != kSlipEnd; ++it) {
    if (*it == kSlipEsc && it + 1 != bytes.end() && *(it + 1) != kSlipEnd) {
      ++it;
      out.push_back(*it == kSlipEscEnd ? kSlipEnd : *it == kSlipEscEsc ? kSlipEsc : *it);
    } else {
      out.push_back(*it);
    }
  }
  return out;
}

void CReplyTable::Store(std::size_t index, std::span<const std::uint8_t> reply) {
  if (index >= kMaxReplies) return;
  Record& r = m_records[index];
  r.fill(0);
  std::copy_n(reply.begin(), std::min(reply.size(), r.size()), r.begin());
}

std::size_t CReplyTable::Count() const {
  std::size_t n = 0;
  while (n < kMaxReplies && Code(n) != 0) ++n;
  return n;
}

std::uint16_t CReplyTable::Code(std::size_t index) const {
  const Record& r = m_records.at(index);
  return static_cast<std::uint16_t>((r[0] << 8) | r[1]);
}

std::uint32_t CReplyTable::Address(std::size_t index) const {
  const Record& r = m_records.at(index);
  return static_cast<std::uint32_t>(r[72]) | (static_cast<std::uint32_t>(r[73]) << 8) |
         (static_cast<std::uint32_t>(r[74]) << 16) | (static_cast<std::uint32_t>(r[75]) << 24);
}

}  // namespace corvane
