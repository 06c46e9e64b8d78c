#include "widgets/CUtf8.h"

namespace corvane {

void CUtf8::Append(std::string& out, char32_t cp) {
  if (!IsScalar(cp)) cp = kReplacement;
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

std::string CUtf8::FromUtf16Le(const unsigned char* data, std::size_t size) {
  std::string out;
  out.reserve(size / 2 + size / 8);
  std::size_t i = 0;
  auto unit = [&](std::size_t at) { return static_cast<char32_t>(data[at] | (data[at + 1] << 8)); };
  while (i + 1 < size) {
    char32_t u = unit(i);
    i += 2;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 < size) {
        char32_t low = unit(i);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          i += 2;
          Append(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
          continue;
        }
      }
      Append(out, kReplacement);  // high surrogate without its low half
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      Append(out, kReplacement);  // low surrogate without a high half
    } else {
      Append(out, u);
    }
  }
  if (i < size) Append(out, kReplacement);  // odd trailing byte
  return out;
}

std::size_t CUtf8::SequenceLength(const char* text, std::size_t n) {
  if (n == 0) return 0;
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) return 1;
  const std::size_t length = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 0;
  if (length == 0 || length > n) return 0;
  char32_t cp = b0 & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};  // shorter forms are overlong
  return cp >= kLeast[length] && IsScalar(cp) ? length : 0;
}

}  // namespace corvane
