#include "registers/CRegisterCodec.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvane {
namespace {

using Regs = std::vector<std::uint16_t>;

struct EncodeCase {
  const char* text;
  ValueFormat format;
  WordOrder words;
  ByteOrder bytes;
  Regs registers;     // in address order
  const char* shown;  // how the registers read back
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" " << NameOf(c.format) << ' ' << NameOf(c.words) << '/' << NameOf(c.bytes);
}

class RegisterEncoding : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(RegisterEncoding, TextToRegistersAndBack) {
  const EncodeCase& c = GetParam();
  const CRegisterCodec codec(c.format, c.words, c.bytes);
  const auto regs = codec.Encode(c.text);
  ASSERT_TRUE(regs.Ok()) << regs.Error();
  EXPECT_EQ(*regs, c.registers);
  EXPECT_EQ(codec.Text(codec.Decode(*regs)), c.shown);
}

constexpr auto kBig = WordOrder::HighFirst;
constexpr auto kLittle = WordOrder::LowFirst;
constexpr auto kBytesBig = ByteOrder::HighFirst;
constexpr auto kBytesLittle = ByteOrder::LowFirst;
using F = ValueFormat;

INSTANTIATE_TEST_SUITE_P(Table, RegisterEncoding, ::testing::Values(
    //         text            format      words    bytes          registers                      shown
    EncodeCase{"65535",        F::Unsigned, kBig,    kBytesBig,    {0xFFFF},                       "65535"},
    EncodeCase{"0x1234",       F::Unsigned, kBig,    kBytesLittle, {0x3412},                       "4660"},
    EncodeCase{"-1",           F::Signed,   kBig,    kBytesBig,    {0xFFFF},                       "-1"},
    EncodeCase{"-32768",       F::Signed,   kBig,    kBytesBig,    {0x8000},                       "-32768"},
    EncodeCase{"a",            F::Hex,      kBig,    kBytesBig,    {0x000A},                       "0x000A"},
    EncodeCase{"0b1",          F::Binary,   kBig,    kBytesBig,    {0x0001},                       "0b0000000000000001"},
    EncodeCase{"305419896",    F::UInt32,   kBig,    kBytesBig,    {0x1234, 0x5678},               "305419896"},
    EncodeCase{"305419896",    F::UInt32,   kLittle, kBytesBig,    {0x5678, 0x1234},               "305419896"},
    EncodeCase{"305419896",    F::UInt32,   kBig,    kBytesLittle, {0x3412, 0x7856},               "305419896"},
    EncodeCase{"305419896",    F::UInt32,   kLittle, kBytesLittle, {0x7856, 0x3412},               "305419896"},
    EncodeCase{"-2",           F::Int32,    kBig,    kBytesBig,    {0xFFFF, 0xFFFE},               "-2"},
    EncodeCase{"-2147483648",  F::Int32,    kLittle, kBytesBig,    {0x0000, 0x8000},               "-2147483648"},
    EncodeCase{"1.5",          F::Float32,  kBig,    kBytesBig,    {0x3FC0, 0x0000},               "1.5"},
    EncodeCase{"1.5",          F::Float32,  kLittle, kBytesBig,    {0x0000, 0x3FC0},               "1.5"},
    EncodeCase{"-0.1",         F::Float32,  kBig,    kBytesBig,    {0xBDCC, 0xCCCD},               "-0.1"},
    EncodeCase{"3.4028235e38", F::Float32,  kBig,    kBytesBig,    {0x7F7F, 0xFFFF},               "3.4028235e+38"},
    EncodeCase{"inf",          F::Float32,  kBig,    kBytesBig,    {0x7F80, 0x0000},               "inf"},
    EncodeCase{"1.5",          F::Float64,  kBig,    kBytesBig,    {0x3FF8, 0x0000, 0x0000, 0x0000}, "1.5"},
    EncodeCase{"1.5",          F::Float64,  kLittle, kBytesLittle, {0x0000, 0x0000, 0x0000, 0xF83F}, "1.5"},
    EncodeCase{"0.1",          F::Float64,  kBig,    kBytesBig,    {0x3FB9, 0x9999, 0x9999, 0x999A}, "0.1"}));

struct RefusedCase {
  const char* text;
  ValueFormat format;
  const char* messagePart;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << '"' << c.text << "\" " << NameOf(c.format); }

class RegisterRefusal : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RegisterRefusal, SaysWhy) {
  const RefusedCase& c = GetParam();
  const auto regs = CRegisterCodec(c.format).Encode(c.text);
  ASSERT_FALSE(regs.Ok());
  EXPECT_NE(regs.Error().find(c.messagePart), std::string::npos) << regs.Error();
}

INSTANTIATE_TEST_SUITE_P(Table, RegisterRefusal, ::testing::Values(
    RefusedCase{"65536",        F::Unsigned, "does not fit unsigned (0 to 65535)"},
    RefusedCase{"-1",           F::Unsigned, "does not fit unsigned"},
    RefusedCase{"32768",        F::Signed,   "does not fit signed (-32768 to 32767)"},
    RefusedCase{"10000",        F::Hex,      "does not fit hex"},
    RefusedCase{"xyz",          F::Hex,      "is not a hexadecimal number"},
    RefusedCase{"2",            F::Binary,   "is not a binary number"},
    RefusedCase{"11111111111111111", F::Binary, "does not fit binary"},
    RefusedCase{"4294967296",   F::UInt32,   "does not fit uint32"},
    RefusedCase{"2147483648",   F::Int32,    "does not fit int32"},
    RefusedCase{"1.5",          F::Int32,    "is not a number"},
    RefusedCase{"3.5e38",       F::Float32,  "does not fit float32"},
    RefusedCase{"1e309",        F::Float64,  "does not fit float64"},
    RefusedCase{"one",          F::Float64,  "is not a number"}));

TEST(RegisterCodec, WidthAndShortInputReadAsZeros) {
  EXPECT_EQ(CRegisterCodec(F::Unsigned).Width(), 1);
  EXPECT_EQ(CRegisterCodec(F::Float32).Width(), 2);
  EXPECT_EQ(CRegisterCodec(F::Float64).Width(), 4);
  const CRegisterCodec codec(F::UInt32);
  const Regs one = {0x0001};
  EXPECT_EQ(codec.Text(codec.Decode(one)), "65536");  // the missing low word reads as 0
}

TEST(RegisterCodec, JsonNumbersAreOnlyPlainDecimals) {
  EXPECT_TRUE(CRegisterCodec(F::Signed).TextIsNumber(0xFFFF));
  EXPECT_FALSE(CRegisterCodec(F::Hex).TextIsNumber(1));
  EXPECT_FALSE(CRegisterCodec(F::Binary).TextIsNumber(1));
  EXPECT_TRUE(CRegisterCodec(F::Float32).TextIsNumber(0x3FC00000));
  EXPECT_FALSE(CRegisterCodec(F::Float32).TextIsNumber(0x7FC00000));  // nan
  EXPECT_FALSE(CRegisterCodec(F::Float64).TextIsNumber(0x7FF0000000000000));  // inf
}

TEST(ValueFormatNames, RoundTripAndRefuseUnknown) {
  for (const char* name : {"unsigned", "signed", "hex", "binary", "uint32", "int32", "float32", "float64"}) {
    const auto f = ParseValueFormat(name);
    ASSERT_TRUE(f.has_value()) << name;
    EXPECT_EQ(NameOf(*f), name);
  }
  EXPECT_FALSE(ParseValueFormat("float").has_value());
  EXPECT_FALSE(ParseValueFormat("").has_value());
  EXPECT_EQ(ParseWordOrder("little"), WordOrder::LowFirst);
  EXPECT_FALSE(ParseByteOrder("middle").has_value());
}

}  // namespace
}  // namespace corvane
