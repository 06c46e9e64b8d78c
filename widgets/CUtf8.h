#pragma once
// UTF-8 encoding helpers for narrow text.
#include <cstddef>
#include <string>

namespace corvane {

class CUtf8 {
public:
  static constexpr char32_t kReplacement = 0xFFFD;

  // A Unicode scalar value: at most U+10FFFF and not a surrogate.
  static bool IsScalar(char32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }
  // Appends cp; anything that is not a scalar value is written as U+FFFD.
  static void Append(std::string& out, char32_t cp);
  // UTF-16 little-endian bytes to UTF-8. Surrogate pairs are joined; a lone surrogate or an
  // odd trailing byte becomes U+FFFD.
  static std::string FromUtf16Le(const unsigned char* data, std::size_t size);
  // Bytes of the well-formed UTF-8 sequence at text[0..n) (shortest form, a scalar value), 0 when
  // none starts there.
  static std::size_t SequenceLength(const char* text, std::size_t n);
};

}  // namespace corvane
