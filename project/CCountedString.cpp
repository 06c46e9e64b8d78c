#include "project/CCountedString.h"

namespace corvane {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The length after a 0xFF escape: 16 bits, with 0xFFFF escaping to 32 bits.
bool ReadWideLength(CByteReader& in, std::uint64_t& n, bool allowWideMarker, bool& wide) {
  std::uint16_t w = 0;
  if (!in.ReadU16(w)) return false;
  if (allowWideMarker && w == 0xFFFE) {
    wide = true;
    std::uint8_t b = 0;
    if (!in.ReadU8(b)) return false;
    if (b < 0xFF) {
      n = b;
      return true;
    }
    return ReadWideLength(in, n, false, wide);
  }
  if (w < 0xFFFF) {
    n = w;
    return true;
  }
  std::uint32_t d = 0;
  if (!in.ReadU32(d)) return false;
  n = d;
  return true;
}

void PutUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::size_t CCountedString::EncodedSize(std::size_t length) noexcept {
  if (length < 0xFF) return 1 + length;
  if (length < 0xFFFE) return 3 + length;
  return 7 + length;
}

bool CCountedString::Append(std::vector<std::uint8_t>& out, std::string_view s) {
  if (s.size() > kMaxLength) return false;
  if (s.size() < 0xFF) {
    out.push_back(static_cast<std::uint8_t>(s.size()));
  } else if (s.size() < 0xFFFE) {
    out.push_back(0xFF);
    PutU16(out, static_cast<std::uint16_t>(s.size()));
  } else {
    out.push_back(0xFF);
    PutU16(out, 0xFFFF);
    PutU32(out, static_cast<std::uint32_t>(s.size()));
  }
  out.insert(out.end(), s.begin(), s.end());
  return true;
}

bool CCountedString::Read(CByteReader& in, std::string& out) {
  CByteReader at = in;
  std::uint8_t b = 0;
  if (!at.ReadU8(b)) return false;
  std::uint64_t n = b;
  bool wide = false;
  if (b == 0xFF && !ReadWideLength(at, n, true, wide)) return false;
  std::span<const std::uint8_t> chars;
  // n is at most 2^32 - 1, so doubling it cannot overflow.
  if (!at.ReadBytes(wide ? n * 2 : n, chars)) return false;
  if (wide)
    out = Utf16LeToUtf8(chars);
  else
    out.assign(reinterpret_cast<const char*>(chars.data()), chars.size());
  in = at;
  return true;
}

std::string CCountedString::Utf16LeToUtf8(std::span<const std::uint8_t> units) {
  std::string out;
  out.reserve(units.size());
  const std::size_t count = units.size() / 2;
  auto unit = [&](std::size_t i) {
    return static_cast<std::uint32_t>(units[2 * i] | (units[2 * i + 1] << 8));
  };
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
      std::uint32_t lo = unit(i + 1);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        PutUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
    PutUtf8(out, u);
  }
  return out;
}

}  // namespace corvane
