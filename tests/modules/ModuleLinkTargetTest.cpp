// Which device a module's Ethernet link goes to.
#include <gtest/gtest.h>

#include <vector>

#include "app/CModuleLinkTarget.h"
#include "discovery/CDiscoveryFrame.h"

namespace corvane {
namespace {

struct Device {
  std::uint16_t code;
  std::uint32_t address;
};

CReplyTable Table(const std::vector<Device>& devices) {
  CReplyTable table;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    std::vector<std::uint8_t> record(kReplyRecordSize, 0);
    record[0] = static_cast<std::uint8_t>(devices[i].code >> 8);
    record[1] = static_cast<std::uint8_t>(devices[i].code);
    for (int b = 0; b < 4; ++b) record[72 + b] = static_cast<std::uint8_t>(devices[i].address >> (8 * b));
    table.Store(i, record);
  }
  return table;
}

TEST(ModuleLinkTarget, TheModulesOwnDeviceThenTheOnlyDeviceThenTheTarget) {
  constexpr std::uint32_t kBroadcast = 0xFFFFFFFF, kA = 0xC0A80105, kB = 0xC0A80106, kT = 0x0A000001;
  struct Row {
    const char* code;
    std::vector<Device> devices;
    std::uint32_t target;
    std::uint32_t expected;
  } rows[] = {
      {"0022", {{0x0015, kA}, {0x0022, kB}}, kBroadcast, kB},  // heard with its code
      {"0022", {{0x0015, kA}, {0x0022, kB}}, kT, kB},          // even when a target is set
      {"4041", {{0x0015, kA}}, kBroadcast, kA},                // a sub-module of the one device
      {"4041", {{0x0015, kA}, {0x0022, kA}}, kBroadcast, kA},  // two records, one device
      {"4041", {{0x0015, kA}, {0x0022, kB}}, kBroadcast, 0},   // whose sub-module? nobody knows
      {"4041", {{0x0015, kA}, {0x0022, kB}}, kT, kT},
      {"0022", {{0x0022, 0}, {0x0015, kA}}, kBroadcast, kA},   // a record without an address
      {"0203", {}, kT, kT},                                    // no search yet
      {"0203", {}, kBroadcast, 0},
      {"0203", {}, 0, 0},
      {"None", {{0x0015, kA}, {0x0022, kB}}, kBroadcast, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(ModuleDeviceAddress(row.code, Table(row.devices), row.target), row.expected);
  }
}

}  // namespace
}  // namespace corvane
