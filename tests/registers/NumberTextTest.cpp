#include "registers/CNumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace corvane {
namespace {

struct IntegerCase {
  const char* text;
  std::int64_t min, max;
  CNumberText::Base base;
  bool ok;
  std::int64_t value;
  const char* messagePart;  // the failure names the cause
};

void PrintTo(const IntegerCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class IntegerText : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerText, ParsesOrSaysWhy) {
  const IntegerCase& c = GetParam();
  const auto r = CNumberText::Integer(c.text, c.min, c.max, "station", c.base);
  ASSERT_EQ(r.Ok(), c.ok) << r.Error();
  if (c.ok) EXPECT_EQ(*r, c.value);
  else EXPECT_NE(r.Error().find(c.messagePart), std::string::npos) << r.Error();
}

using B = CNumberText::Base;
constexpr auto kI64Min = std::numeric_limits<std::int64_t>::min();
constexpr auto kI64Max = std::numeric_limits<std::int64_t>::max();

INSTANTIATE_TEST_SUITE_P(Table, IntegerText, ::testing::Values(
    //           text              min     max     base       ok     value  message
    IntegerCase{"17",              1,      247,    B::Any,    true,  17,    ""},
    IntegerCase{"+17",             1,      247,    B::Any,    true,  17,    ""},
    IntegerCase{"0x156A",          0,      65535,  B::Any,    true,  0x156A, ""},
    IntegerCase{"0X1f",            0,      65535,  B::Any,    true,  0x1F,  ""},
    IntegerCase{"0b101",           0,      65535,  B::Any,    true,  5,     ""},
    IntegerCase{"-32768",          -32768, 32767,  B::Any,    true,  -32768, ""},
    IntegerCase{"ff",              0,      65535,  B::Hex,    true,  255,   ""},
    IntegerCase{"0xFF",            0,      65535,  B::Hex,    true,  255,   ""},
    IntegerCase{"1010",            0,      65535,  B::Binary, true,  10,    ""},
    IntegerCase{"248",             1,      247,    B::Any,    false, 0,     "does not fit station (1 to 247)"},
    IntegerCase{"0",               1,      247,    B::Any,    false, 0,     "1 to 247"},
    IntegerCase{"-1",              0,      65535,  B::Any,    false, 0,     "does not fit"},
    IntegerCase{"",                0,      65535,  B::Any,    false, 0,     "is not a number"},
    IntegerCase{"12abc",           0,      65535,  B::Any,    false, 0,     "is not a number"},
    IntegerCase{" 12",             0,      65535,  B::Any,    false, 0,     "is not a number"},
    IntegerCase{"0x",              0,      65535,  B::Any,    false, 0,     "not a hexadecimal number"},
    IntegerCase{"12",              0,      65535,  B::Binary, false, 0,     "not a binary number"},
    IntegerCase{"-5",              -10,    10,     B::Hex,    false, 0,     "not a hexadecimal number"},
    IntegerCase{"99999999999999999999999", 0, 65535, B::Any,  false, 0,     "does not fit"},
    IntegerCase{"9223372036854775807",  kI64Min, kI64Max, B::Any, true, kI64Max, ""},
    IntegerCase{"9223372036854775808",  kI64Min, kI64Max, B::Any, false, 0, "does not fit"}));

TEST(RealText, NumbersSpecialsAndRange) {
  EXPECT_DOUBLE_EQ(*CNumberText::Real("1.5", "float64"), 1.5);
  EXPECT_DOUBLE_EQ(*CNumberText::Real("+2e3", "float64"), 2000);
  EXPECT_DOUBLE_EQ(*CNumberText::Real("-0.25", "float64"), -0.25);
  EXPECT_TRUE(std::isnan(*CNumberText::Real("nan", "float64")));
  EXPECT_TRUE(std::isinf(*CNumberText::Real("-inf", "float64")));
  EXPECT_EQ(*CNumberText::Real("1e-400", "float64"), 0.0);  // too small: rounds to zero
  const auto big = CNumberText::Real("1e400", "float64");
  ASSERT_FALSE(big.Ok());
  EXPECT_NE(big.Error().find("does not fit float64"), std::string::npos);
  EXPECT_FALSE(CNumberText::Real("1.5.2", "float32").Ok());
  EXPECT_FALSE(CNumberText::Real("0x10", "float32").Ok());
  EXPECT_FALSE(CNumberText::Real("", "float32").Ok());
}

TEST(NumberText, LongTextIsCutInTheMessage) {
  const std::string text(5000, '7');
  const auto r = CNumberText::Integer(text, 0, 10, "count");
  ASSERT_FALSE(r.Ok());
  EXPECT_LT(r.Error().size(), 120u);
}

}  // namespace
}  // namespace corvane
