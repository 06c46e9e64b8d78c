#include "tools/cli/CShownText.h"

#include <cstdio>

#include "widgets/CUtf8.h"

namespace corvane::cli {
namespace {

std::string Hex(const char* form, unsigned value) {
  char text[12];
  std::snprintf(text, sizeof text, form, value);
  return text;
}

// Calls plain(pos, length) for each well-formed printable sequence and escape(byte) for the rest.
template <class Plain, class Escape>
void Walk(std::string_view text, Plain plain, Escape escape) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = CUtf8::SequenceLength(text.data() + i, text.size() - i);
    // C1 controls (U+0080..U+009F) steer terminals as much as C0 ones.
    const bool c1 = n == 2 && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
    if (n == 0 || b < 0x20 || b == 0x7F || c1) {
      for (std::size_t k = 0; k < (c1 ? 2u : 1u); ++k) escape(static_cast<unsigned char>(text[i + k]));
      i += c1 ? 2 : 1;
      continue;
    }
    plain(i, n);
    i += n;
  }
}

}  // namespace

std::string CShownText::ForTerminal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  Walk(
      text,
      [&](std::size_t at, std::size_t n) {
        if (text[at] == '\\') out += "\\\\";
        else out.append(text.substr(at, n));
      },
      [&](unsigned char b) { out += Hex("\\x%02X", b); });
  return out;
}

std::string CShownText::ForJson(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  Walk(
      text,
      [&](std::size_t at, std::size_t n) {
        if (text[at] == '"' || text[at] == '\\') out += '\\';
        out.append(text.substr(at, n));
      },
      [&](unsigned char b) {
        switch (b) {
          case '\n': out += "\\n"; break;
          case '\r': out += "\\r"; break;
          case '\t': out += "\\t"; break;
          default: out += Hex("\\u%04X", b);
        }
      });
  return out;
}

}  // namespace corvane::cli
