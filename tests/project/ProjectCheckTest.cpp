#include "project/CProjectCheck.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "libs/portlink/Crc16.h"

namespace corvane {
namespace {

TEST(ProjectCheck, KnownModbusValue) {
  const std::uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(CProjectCheck::Compute(text), 0x4B37);  // the standard CRC-16/MODBUS check value
}

TEST(ProjectCheck, SameAsTheLinkCrcForEveryLength) {
  std::mt19937 rng(1234);
  std::vector<std::uint8_t> data(1500);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  for (std::size_t n = 0; n <= data.size(); ++n)
    ASSERT_EQ(CProjectCheck::Compute({data.data(), n}), Crc16Modbus(data.data(), n)) << "length " << n;
}

}  // namespace
}  // namespace corvane
