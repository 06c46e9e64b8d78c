#include "app/CLinkPreset.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(LinkPreset, EthernetAddressAndIdentityMapped) {
  const LinkPreset p = ParseLinkPreset("0", "1", "192.168.1.5", "00060000FF000003");
  ASSERT_TRUE(p.commType.has_value());
  EXPECT_EQ(*p.commType, 1);
  ASSERT_TRUE(p.ipAddress.has_value());
  EXPECT_EQ(*p.ipAddress, 0xC0A80105u);
  EXPECT_FALSE(p.comPortNum.has_value());
  EXPECT_EQ(p.moduleCode, "0203");
}

TEST(LinkPreset, SerialPortTaken) {
  const LinkPreset p = ParseLinkPreset("0", "0", "3", "0015");
  EXPECT_EQ(p.commType, 0);
  EXPECT_EQ(p.comPortNum, 3);
  EXPECT_FALSE(p.ipAddress.has_value());
  EXPECT_EQ(p.moduleCode, "0015");
}

TEST(LinkPreset, NonZeroKeepFlagOrOtherTypeSetsNothing) {
  for (const auto& [f2, f3] : {std::pair{"1", "1"}, std::pair{"x1", "7"}, std::pair{"0", "2"}}) {
    const LinkPreset p = ParseLinkPreset(f2, f3, "10.0.0.1", "0203");
    EXPECT_FALSE(p.commType.has_value()) << f2 << f3;
    EXPECT_FALSE(p.ipAddress.has_value());
    EXPECT_FALSE(p.comPortNum.has_value());
    EXPECT_EQ(p.moduleCode, "0203");
  }
}

TEST(LinkPreset, UnreadableAddressGivesAllOnes) {
  EXPECT_EQ(*ParseLinkPreset("0", "1", "not-an-ip", "").ipAddress, 0xFFFFFFFFu);
  EXPECT_EQ(*ParseLinkPreset("0", "1", "", "").ipAddress, 0xFFFFFFFFu);
}

struct IdentityRow { const char* given; const char* used; };
TEST(LinkPreset, DeviceIdentityTable) {
  const IdentityRow rows[] = {
      {"00060000FF000003", "0203"}, {"00060000FF000004", "0204"}, {"00060000FF000103", "0103"},
      {"00060000FF000104", "0104"}, {"00060000FF000206", "0206"}, {"00060000FF000205", "0205"},
      {"0001000002003401", "0405"},
      {"00060000ff000003", "00060000ff000003"},  // exact, case-sensitive
      {"0203", "0203"}, {"", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(MapDeviceIdentity(r.given), r.used) << r.given;
}

TEST(LinkPreset, FieldToIntTakesLeadingDigits) {
  EXPECT_EQ(FieldToInt("1028"), 1028);
  EXPECT_EQ(FieldToInt("12abc"), 12);
  EXPECT_EQ(FieldToInt("/home/x.cvn"), 0);
  EXPECT_EQ(FieldToInt(""), 0);
  EXPECT_EQ(FieldToInt("-5"), -5);
  EXPECT_EQ(FieldToInt("99999999999999999999"), 2147483647);
}

}  // namespace
}  // namespace corvane
