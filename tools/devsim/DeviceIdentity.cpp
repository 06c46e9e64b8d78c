#include "tools/devsim/DeviceIdentity.h"

#include <algorithm>

namespace corvane::devsim {

namespace {
constexpr std::uint8_t kFunction = 43;
constexpr std::uint8_t kMeiType = 14;
constexpr std::size_t kMaxPdu = 253;
constexpr std::size_t kHeader = 7;  // function, MEI type, code, conformity, more follows, next object, count

Bytes Exception(std::uint8_t code) { return {static_cast<std::uint8_t>(kFunction | 0x80), code}; }
}  // namespace

Bytes DeviceIdentity::Answer(const std::vector<std::string>& objects, const std::uint8_t* pdu, std::size_t size) {
  if (objects.empty()) return Exception(1);
  if (size != 4 || pdu[1] != kMeiType) return Exception(3);
  const std::uint8_t code = pdu[2];
  std::uint8_t first = pdu[3];
  if (code < 1 || code > 4) return Exception(3);
  const std::size_t regularLast = std::min<std::size_t>(objects.size(), 7);  // objects 3..6 are regular
  const std::uint8_t conformity = static_cast<std::uint8_t>(0x80 | (objects.size() > 3 ? 2 : 1));
  const std::size_t last = code == 1 ? std::min<std::size_t>(objects.size(), 3) : regularLast;
  if (code == 4) {
    if (first >= regularLast) return Exception(2);
  } else if (first >= last) {
    first = 0;  // an object the category does not hold: start again at the first
  }
  Bytes out{kFunction, kMeiType, code, conformity, 0x00, 0x00, 0x00};
  std::size_t id = first;
  const std::size_t end = code == 4 ? first + 1u : last;
  for (; id < end; ++id) {
    const std::string& value = objects[id];
    const std::size_t length = std::min<std::size_t>(value.size(), 245);
    if (out.size() + 2 + length > kMaxPdu) break;
    out.push_back(static_cast<std::uint8_t>(id));
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), value.begin(), value.begin() + static_cast<long>(length));
    ++out[kHeader - 1];
  }
  if (id < end) {
    out[4] = 0xFF;  // more follows, from object id on
    out[5] = static_cast<std::uint8_t>(id);
  }
  return out;
}

}  // namespace corvane::devsim
