#include "libs/portlink/PorthubFrame.h"

namespace corvane::porthub {

namespace {
void Put16(std::vector<std::uint8_t>& f, std::uint32_t v) {
  f.push_back(static_cast<std::uint8_t>(v >> 8));
  f.push_back(static_cast<std::uint8_t>(v));
}
std::uint32_t Get16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] << 8 | p[1]); }
}  // namespace

std::vector<std::uint8_t> Encode(const Header& h, const std::uint8_t* payload) {
  std::vector<std::uint8_t> f;
  f.reserve(kHeaderSize + h.length);
  Put16(f, kMagic);
  Put16(f, h.command);
  const auto id = static_cast<std::uint32_t>(h.driverId);
  Put16(f, id >> 16);
  Put16(f, id & 0xFFFF);
  Put16(f, h.address >> 16);
  Put16(f, h.address & 0xFFFF);
  Put16(f, h.port);
  Put16(f, h.length);
  if (h.length && payload) f.insert(f.end(), payload, payload + h.length);
  return f;
}

bool Decode(const std::uint8_t* raw, Header& h) {
  if (Get16(raw) != kMagic) return false;
  h.command = static_cast<std::uint16_t>(Get16(raw + 2));
  h.driverId = static_cast<std::int32_t>(Get16(raw + 4) << 16 | Get16(raw + 6));
  h.address = Get16(raw + 8) << 16 | Get16(raw + 10);
  h.port = static_cast<std::uint16_t>(Get16(raw + 12));
  h.length = static_cast<std::uint16_t>(Get16(raw + 14));
  return h.length <= kMaxPayload;
}

}  // namespace corvane::porthub
