#pragma once
// One value in Modbus registers and back: text to registers with a range check for the format,
// registers to text. A value's bits are kept in a 64-bit word, most significant part first.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registers/Checked.h"
#include "registers/ValueFormat.h"

namespace corvane {

class CRegisterCodec {
public:
  explicit CRegisterCodec(ValueFormat format = ValueFormat::Unsigned, WordOrder words = WordOrder::HighFirst,
                          ByteOrder bytes = ByteOrder::HighFirst)
      : m_format(format), m_words(words), m_bytes(bytes) {}

  ValueFormat Format() const noexcept { return m_format; }
  WordOrder Words() const noexcept { return m_words; }
  ByteOrder Bytes() const noexcept { return m_bytes; }
  // Registers a value takes.
  int Width() const noexcept { return RegistersOf(m_format); }

  // The registers (in address order) that carry the value the text gives; an error when the
  // text is no number of the format or the number does not fit it.
  Checked<std::vector<std::uint16_t>> Encode(std::string_view text) const;
  // The value's bits from Width() registers in address order (fewer: a value of zeros).
  std::uint64_t Decode(std::span<const std::uint16_t> registers) const;
  // Registers in address order for the value's bits.
  std::vector<std::uint16_t> Registers(std::uint64_t bits) const;

  // The value as a user reads it: decimal, "0x00FF", "0b0000000011111111", a float at the
  // shortest text that reads back as the same float ("nan", "inf", "-inf" where it is none).
  std::string Text(std::uint64_t bits) const;
  // True when Text is a plain decimal number (no prefix, finite), which JSON can carry as one.
  bool TextIsNumber(std::uint64_t bits) const;

private:
  Checked<std::uint64_t> ParseBits(std::string_view text) const;

  ValueFormat m_format;
  WordOrder m_words;
  ByteOrder m_bytes;
};

}  // namespace corvane
