#include "registers/CNumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace corvane {
namespace {

// A quoted copy of a user's text, cut short so a message stays one line.
std::string Quote(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return "\"" + shown + "\"";
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if ((text[i] | 0x20) != prefix[i]) return false;
  return true;
}

}  // namespace

std::string CNumberText::Range(std::int64_t min, std::int64_t max) {
  return std::to_string(min) + " to " + std::to_string(max);
}

Checked<std::int64_t> CNumberText::Integer(std::string_view text, std::int64_t min, std::int64_t max,
                                           std::string_view what, Base base) {
  const std::string whatText(what);
  std::string_view digits = text;
  bool negative = false;
  if (base == Base::Any && !digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  int radix = base == Base::Hex ? 16 : base == Base::Binary ? 2 : 10;
  if ((base == Base::Any || base == Base::Hex) && StartsWithNoCase(digits, "0x")) {
    radix = 16;
    digits.remove_prefix(2);
  } else if ((base == Base::Any || base == Base::Binary) && StartsWithNoCase(digits, "0b")) {
    radix = 2;
    digits.remove_prefix(2);
  }
  std::uint64_t magnitude = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, magnitude, radix);
  const std::string kind = radix == 16 ? "a hexadecimal number" : radix == 2 ? "a binary number" : "a number";
  if (digits.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range))
    return Checked<std::int64_t>::Fail(Quote(text) + " is not " + kind + " (" + whatText + ")");
  const bool tooLarge = ec == std::errc::result_out_of_range ||
                        magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  const std::int64_t value = tooLarge ? 0 : (negative ? -static_cast<std::int64_t>(magnitude)
                                                      : static_cast<std::int64_t>(magnitude));
  if (tooLarge || value < min || value > max)
    return Checked<std::int64_t>::Fail(Quote(text) + " does not fit " + whatText + " (" + Range(min, max) + ")");
  return value;
}

Checked<double> CNumberText::Real(std::string_view text, std::string_view what) {
  std::string_view digits = text;
  if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);  // from_chars takes only '-'
  double value = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value, std::chars_format::general);
  if (digits.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range))
    return Checked<double>::Fail(Quote(text) + " is not a number (" + std::string(what) + ")");
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone here; strtod tells an overflow from a value so tiny
    // that it rounds to a subnormal or zero, which is taken.
    const std::string copy(digits);
    value = std::strtod(copy.c_str(), nullptr);
    if (std::isinf(value)) return Checked<double>::Fail(Quote(text) + " does not fit " + std::string(what));
  }
  return value;
}

}  // namespace corvane
