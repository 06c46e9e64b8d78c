#pragma once
// Numbers typed by a user: integers in decimal, 0x hexadecimal or 0b binary with a range
// check, and floating-point numbers; every failure says what was wrong in words.
#include <cstdint>
#include <string>
#include <string_view>

#include "registers/Checked.h"

namespace corvane {

class CNumberText {
public:
  enum class Base { Any, Hex, Binary };

  // `what` names the value in the message ("station", "unsigned"). Base::Any takes an optional
  // sign and decimal, 0x or 0b digits; Hex and Binary take only their digits (0x / 0b optional).
  static Checked<std::int64_t> Integer(std::string_view text, std::int64_t min, std::int64_t max,
                                       std::string_view what, Base base = Base::Any);
  // A double; "nan", "inf" and "-inf" are numbers too. Out of double's range is an error.
  static Checked<double> Real(std::string_view text, std::string_view what);

  // Text of a range for messages: "0 to 65535".
  static std::string Range(std::int64_t min, std::int64_t max);
};

}  // namespace corvane
