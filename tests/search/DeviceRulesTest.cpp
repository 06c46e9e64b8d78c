// The device rules every branch of the search asks, one table per rule.
#include "discovery/CDeviceRules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(DeviceRules, WhichDevicesOpenWhatAndAreAsked) {
  struct IdentityRow {
    std::uint16_t w0, w1;
    bool opens;
  };
  const IdentityRow identities[] = {{1, 0x0015, true},  {1, 0xA002, true},  {1, 0x001A, true}, {1, 0x0017, true},
                                    {1, 0x0022, false}, {1, 0x0405, false}, {0, 0x0015, false}, {2, 0x0015, false}};
  for (const IdentityRow& r : identities)
    EXPECT_EQ(CDeviceRules::IsIdentityModule(r.w0, r.w1), r.opens) << std::hex << r.w0 << " " << r.w1;

  struct CodeRow {
    std::uint16_t code;
    bool subModules, managerProbed, card;
    std::uint16_t reg;
  };
  const CodeRow codes[] = {
      {0x0405, true, true, false, 0x156A},   {0x0015, true, true, false, 0x156A},
      {0xA002, true, true, false, 0x156A},   {0x0022, true, false, false, 0xC608},
      {0x0023, true, false, false, 0xC608},  {0x001A, false, false, false, 0x156A},
      {0x4041, false, false, true, 0x156A},  {0x4042, false, false, true, 0x156A},
      {0x4043, false, false, false, 0x156A}, {0x0000, false, false, false, 0x156A},
  };
  for (const CodeRow& r : codes) {
    EXPECT_EQ(CDeviceRules::HasSubModules(r.code), r.subModules) << std::hex << r.code;
    EXPECT_EQ(CDeviceRules::IsManagerProbed(r.code), r.managerProbed) << std::hex << r.code;
    EXPECT_EQ(CDeviceRules::IsCardCode(r.code), r.card) << std::hex << r.code;
    EXPECT_EQ(CDeviceRules::SubModuleRegister(r.code), r.reg) << std::hex << r.code;
  }
  EXPECT_EQ(CDeviceRules::SubModuleProbe(0x156A), (std::array<std::uint8_t, 4>{0x15, 0x6A, 0x00, 0x08}));
  EXPECT_EQ(CDeviceRules::SubModuleProbe(0xC608), (std::array<std::uint8_t, 4>{0xC6, 0x08, 0x00, 0x08}));
}

TEST(DeviceRules, SubModuleListStopsAtZeroAtEightAndAtTheEndOfTheData) {
  using Bytes = std::vector<std::uint8_t>;
  struct Row {
    const char* name;
    Bytes data;
    std::vector<std::uint16_t> list;
  };
  const Row rows[] = {
      {"stops at the first 0", {0x40, 0x41, 0x00, 0x01, 0x40, 0x42, 0x00, 0x00, 0x40, 0x41}, {0x4041, 0x0001, 0x4042}},
      {"odd byte left over", {0x40, 0x41, 0x40}, {0x4041}},
      {"no data", {}, {}},
      {"at most eight", Bytes(20, 0x11), std::vector<std::uint16_t>(8, 0x1111)},
  };
  for (const Row& r : rows) EXPECT_EQ(CDeviceRules::SubModuleList(r.data), r.list) << r.name;
}

}  // namespace
}  // namespace corvane
