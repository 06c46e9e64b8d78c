#pragma once
// The project file's length-prefixed string: one byte for 0..254, 0xFF + 16 bits for
// 255..65,533, 0xFF 0xFFFF + 32 bits above. 0xFF 0xFFFE announces UTF-16 LE characters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/CByteReader.h"

namespace corvane {

class CCountedString {
public:
  static constexpr std::uint64_t kMaxLength = 0xFFFFFFFEu;

  // Appends s in the single-byte form; false (nothing appended) when it is longer than kMaxLength.
  static bool Append(std::vector<std::uint8_t>& out, std::string_view s);
  // Reads a single-byte or wide string (the wide one converted to UTF-8). False, with the
  // position unchanged, when the prefix or the characters run past the end.
  static bool Read(CByteReader& in, std::string& out);
  // Size of the single-byte encoding of a string of this length.
  static std::size_t EncodedSize(std::size_t length) noexcept;
  // UTF-16 LE code units to UTF-8; unpaired surrogates become U+FFFD.
  static std::string Utf16LeToUtf8(std::span<const std::uint8_t> units);
};

}  // namespace corvane
