#include "registers/CRegisterCodec.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include "registers/CNumberText.h"

namespace corvane {
namespace {

std::uint16_t Swap(std::uint16_t v) { return static_cast<std::uint16_t>((v << 8) | (v >> 8)); }

template <class F>
std::string Shortest(F value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char text[64];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string("?");
}

std::string Digits(std::uint64_t value, int count, int radix) {
  std::string text(static_cast<std::size_t>(count), '0');
  for (int i = count - 1; i >= 0 && value != 0; --i, value /= static_cast<unsigned>(radix))
    text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[value % static_cast<unsigned>(radix)];
  return text;
}

}  // namespace

Checked<std::uint64_t> CRegisterCodec::ParseBits(std::string_view text) const {
  using Fail = Checked<std::uint64_t>;
  const std::string name(NameOf(m_format));
  switch (m_format) {
    case ValueFormat::Unsigned:
    case ValueFormat::Hex:
    case ValueFormat::Binary: {
      const auto base = m_format == ValueFormat::Hex      ? CNumberText::Base::Hex
                        : m_format == ValueFormat::Binary ? CNumberText::Base::Binary
                                                          : CNumberText::Base::Any;
      const auto v = CNumberText::Integer(text, 0, 0xFFFF, name, base);
      return v ? Checked<std::uint64_t>(static_cast<std::uint64_t>(*v)) : Fail::Fail(v.Error());
    }
    case ValueFormat::Signed: {
      const auto v = CNumberText::Integer(text, -32768, 32767, name);
      return v ? Checked<std::uint64_t>(static_cast<std::uint16_t>(*v)) : Fail::Fail(v.Error());
    }
    case ValueFormat::UInt32: {
      const auto v = CNumberText::Integer(text, 0, 0xFFFFFFFFll, name);
      return v ? Checked<std::uint64_t>(static_cast<std::uint64_t>(*v)) : Fail::Fail(v.Error());
    }
    case ValueFormat::Int32: {
      const auto v = CNumberText::Integer(text, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max(), name);
      return v ? Checked<std::uint64_t>(static_cast<std::uint32_t>(*v)) : Fail::Fail(v.Error());
    }
    case ValueFormat::Float32: {
      const auto v = CNumberText::Real(text, name);
      if (!v) return Fail::Fail(v.Error());
      // Halfway between the largest float and 2^128 a value starts to round to infinity.
      constexpr double kFloatOverflow = 0x1.ffffffp+127;
      if (std::isfinite(*v) && std::fabs(*v) >= kFloatOverflow)
        return Fail::Fail("\"" + std::string(text) + "\" does not fit float32 (largest 3.4028235e+38)");
      return Checked<std::uint64_t>(std::bit_cast<std::uint32_t>(static_cast<float>(*v)));
    }
    case ValueFormat::Float64: {
      const auto v = CNumberText::Real(text, name);
      return v ? Checked<std::uint64_t>(std::bit_cast<std::uint64_t>(*v)) : Fail::Fail(v.Error());
    }
  }
  return Fail::Fail("unknown format");
}

Checked<std::vector<std::uint16_t>> CRegisterCodec::Encode(std::string_view text) const {
  const auto bits = ParseBits(text);
  if (!bits) return Checked<std::vector<std::uint16_t>>::Fail(bits.Error());
  return Registers(*bits);
}

std::vector<std::uint16_t> CRegisterCodec::Registers(std::uint64_t bits) const {
  const int width = Width();
  std::vector<std::uint16_t> words(static_cast<std::size_t>(width));
  // words[0] is the most significant word.
  for (int i = 0; i < width; ++i)
    words[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(bits >> (16 * (width - 1 - i)));
  if (m_words == WordOrder::LowFirst) std::reverse(words.begin(), words.end());
  if (m_bytes == ByteOrder::LowFirst)
    for (auto& w : words) w = Swap(w);
  return words;
}

std::uint64_t CRegisterCodec::Decode(std::span<const std::uint16_t> registers) const {
  const int width = Width();
  std::uint64_t bits = 0;
  for (int i = 0; i < width; ++i) {
    // The register that holds word i (0: the most significant).
    const int at = m_words == WordOrder::HighFirst ? i : width - 1 - i;
    std::uint16_t w = static_cast<std::size_t>(at) < registers.size() ? registers[static_cast<std::size_t>(at)] : 0;
    if (m_bytes == ByteOrder::LowFirst) w = Swap(w);
    bits = (bits << 16) | w;
  }
  return bits;
}

std::string CRegisterCodec::Text(std::uint64_t bits) const {
  switch (m_format) {
    case ValueFormat::Unsigned: return std::to_string(static_cast<std::uint16_t>(bits));
    case ValueFormat::Signed: return std::to_string(static_cast<std::int16_t>(bits));
    case ValueFormat::Hex: return "0x" + Digits(bits & 0xFFFF, 4, 16);
    case ValueFormat::Binary: return "0b" + Digits(bits & 0xFFFF, 16, 2);
    case ValueFormat::UInt32: return std::to_string(static_cast<std::uint32_t>(bits));
    case ValueFormat::Int32: return std::to_string(static_cast<std::int32_t>(bits));
    case ValueFormat::Float32: return Shortest(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    case ValueFormat::Float64: return Shortest(std::bit_cast<double>(bits));
  }
  return {};
}

bool CRegisterCodec::TextIsNumber(std::uint64_t bits) const {
  switch (m_format) {
    case ValueFormat::Hex:
    case ValueFormat::Binary: return false;
    case ValueFormat::Float32: return std::isfinite(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    case ValueFormat::Float64: return std::isfinite(std::bit_cast<double>(bits));
    default: return true;
  }
}

}  // namespace corvane
