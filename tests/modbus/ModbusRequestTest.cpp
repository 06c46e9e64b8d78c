#include <gtest/gtest.h>

#include "modbus/CModbusReply.h"
#include "modbus/CModbusRequest.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ReadCase {
  int function, address, count;
  Bytes data;           // empty: refused
  const char* message;  // part of the refusal
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << "fn " << c.function << " @" << c.address << " x" << c.count; }

class ReadRequests : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRequests, BuildOrRefuse) {
  const ReadCase& c = GetParam();
  const auto r = CModbusRequest::Read(*FindModbusFunction(c.function), c.address, c.count);
  if (c.data.empty()) {
    ASSERT_FALSE(r.Ok());
    EXPECT_NE(r.Error().find(c.message), std::string::npos) << r.Error();
  } else {
    ASSERT_TRUE(r.Ok()) << r.Error();
    EXPECT_EQ(*r, c.data);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ReadRequests, ::testing::Values(
    ReadCase{3, 0x156A, 8,    {0x15, 0x6A, 0x00, 0x08}, ""},
    ReadCase{3, 0,      125,  {0x00, 0x00, 0x00, 0x7D}, ""},
    ReadCase{4, 65535,  1,    {0xFF, 0xFF, 0x00, 0x01}, ""},
    ReadCase{1, 10,     2000, {0x00, 0x0A, 0x07, 0xD0}, ""},
    ReadCase{2, 0,      1,    {0x00, 0x00, 0x00, 0x01}, ""},
    ReadCase{3, 0,      126,  {}, "count 126 is beyond the limit of function 3 (read holding registers): 1 to 125"},
    ReadCase{4, 0,      0,    {}, "1 to 125"},
    ReadCase{1, 0,      2001, {}, "1 to 2000"},
    ReadCase{3, 65535,  2,    {}, "run past address 65535"},
    ReadCase{3, -1,     1,    {}, "outside 0 to 65535"},
    ReadCase{3, 65536,  1,    {}, "outside 0 to 65535"},
    ReadCase{6, 0,      1,    {}, "writes; it cannot read"}));

TEST(WriteRequests, CoilsPackLowBitFirst) {
  const std::vector<bool> bits = {true, false, true, true, false, false, false, false, true, true};
  const auto r = CModbusRequest::WriteBits(*FindModbusFunction(15), 0x13, bits);
  ASSERT_TRUE(r.Ok()) << r.Error();
  EXPECT_EQ(*r, (Bytes{0x00, 0x13, 0x00, 0x0A, 0x02, 0x0D, 0x03}));
  EXPECT_EQ(*CModbusRequest::WriteBits(*FindModbusFunction(5), 0xAC, {true}), (Bytes{0x00, 0xAC, 0xFF, 0x00}));
  EXPECT_EQ(*CModbusRequest::WriteBits(*FindModbusFunction(5), 1, {false}), (Bytes{0x00, 0x01, 0x00, 0x00}));
}

TEST(WriteRequests, RegistersAndLimits) {
  const std::uint16_t regs[] = {0x000A, 0x0102};
  EXPECT_EQ(*CModbusRequest::WriteRegisters(*FindModbusFunction(16), 1, regs),
            (Bytes{0x00, 0x01, 0x00, 0x02, 0x04, 0x00, 0x0A, 0x01, 0x02}));
  EXPECT_EQ(*CModbusRequest::WriteRegisters(*FindModbusFunction(6), 1, std::span(regs, 1)), (Bytes{0x00, 0x01, 0x00, 0x0A}));
  const auto two = CModbusRequest::WriteRegisters(*FindModbusFunction(6), 1, regs);
  ASSERT_FALSE(two.Ok());
  EXPECT_NE(two.Error().find("takes exactly one value, not 2"), std::string::npos);
  const std::vector<std::uint16_t> many(124, 1);
  EXPECT_NE(CModbusRequest::WriteRegisters(*FindModbusFunction(16), 0, many).Error().find("1 to 123"), std::string::npos);
  EXPECT_NE(CModbusRequest::WriteBits(*FindModbusFunction(15), 0, std::vector<bool>(1969, true)).Error().find("1 to 1968"),
            std::string::npos);
  EXPECT_FALSE(CModbusRequest::WriteRegisters(*FindModbusFunction(15), 0, regs).Ok());
  EXPECT_EQ(FindModbusFunction(7), nullptr);
  EXPECT_EQ(FindModbusFunction(43), nullptr);
}

TEST(Replies, CountsMustMatchTheRequest) {
  const auto bits = CModbusReply::Bits(Bytes{0x0D, 0x03}, 10);
  ASSERT_TRUE(bits.Ok());
  EXPECT_EQ(*bits, (std::vector<bool>{true, false, true, true, false, false, false, false, true, true}));
  EXPECT_FALSE(CModbusReply::Bits(Bytes{0x0D}, 10).Ok());
  EXPECT_FALSE(CModbusReply::Bits(Bytes{0x0D, 0x00, 0x00}, 10).Ok());
  EXPECT_EQ(*CModbusReply::Registers(Bytes{0x12, 0x34, 0xFF, 0xFE}, 2), (std::vector<std::uint16_t>{0x1234, 0xFFFE}));
  const auto shortRegs = CModbusReply::Registers(Bytes{0x12, 0x34, 0xFF}, 2);
  ASSERT_FALSE(shortRegs.Ok());
  EXPECT_NE(shortRegs.Error().find("3 data bytes"), std::string::npos);
  EXPECT_EQ(CModbusReply::CheckEcho(Bytes{0, 1, 0, 2, 4, 0, 0, 0, 0}, Bytes{0, 1, 0, 2}), "");
  EXPECT_NE(CModbusReply::CheckEcho(Bytes{0, 1, 0, 2}, Bytes{0, 1, 0, 3}), "");
  EXPECT_NE(CModbusReply::CheckEcho(Bytes{0, 1, 0, 2}, Bytes{0, 1, 0}), "");
}

}  // namespace
}  // namespace corvane
