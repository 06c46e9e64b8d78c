#pragma once
// Text from outside (a device, a file) made safe to show: well-formed UTF-8 passes, control
// characters and stray bytes become escapes, so nothing a device sends can drive the terminal.
#include <string>
#include <string_view>

namespace corvane::cli {

class CShownText {
public:
  // "\x1B", "\xFF" for control characters and bytes that are no UTF-8; "\\" for a backslash.
  static std::string ForTerminal(std::string_view text);
  // The inside of a JSON string: quotes, backslashes and control characters escaped, a byte that
  // is no UTF-8 as the code point of its value (read as Latin-1).
  static std::string ForJson(std::string_view text);
};

}  // namespace corvane::cli
