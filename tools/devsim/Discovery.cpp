#include "tools/devsim/Discovery.h"

namespace corvane::devsim {

namespace {
constexpr std::uint8_t kEnd = 0xC0, kEsc = 0xDB, kEscEnd = 0xDC, kEscEsc = 0xDD;
}

bool Discovery::IsRequest(const std::uint8_t* data, std::size_t size) {
  return size >= kRequestSize && data[0] == 0x04 && data[1] == 0x05;
}

std::vector<std::uint8_t> Discovery::Record(std::uint16_t code, std::uint8_t station, std::uint32_t ip) {
  std::vector<std::uint8_t> r(kRecordSize, 0);
  r[0] = static_cast<std::uint8_t>(code >> 8);
  r[1] = static_cast<std::uint8_t>(code & 0xFF);
  r[3] = 0x02;
  r[4] = station;
  for (int i = 0; i < 4; ++i) r[72 + i] = static_cast<std::uint8_t>((ip >> (8 * i)) & 0xFF);
  return r;
}

std::uint8_t Discovery::Check(const std::uint8_t* data, std::size_t size) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum = static_cast<std::uint8_t>(sum + data[i]);
  return static_cast<std::uint8_t>(-sum);
}

std::vector<std::uint8_t> Discovery::SlipEncode(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out{kEnd};
  for (std::uint8_t b : data) {
    if (b == kEnd) out.insert(out.end(), {kEsc, kEscEnd});
    else if (b == kEsc) out.insert(out.end(), {kEsc, kEscEsc});
    else out.push_back(b);
  }
  out.push_back(kEnd);
  return out;
}

std::vector<std::uint8_t> Discovery::SlipDecode(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == kEsc && i + 1 < size) {
      const std::uint8_t n = data[++i];
      out.push_back(n == kEscEnd ? kEnd : n == kEscEsc ? kEsc : n);
    } else {
      out.push_back(data[i]);
    }
  }
  return out;
}

}  // namespace corvane::devsim
