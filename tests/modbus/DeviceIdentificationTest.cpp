#include "modbus/CDeviceIdentification.h"

#include <gtest/gtest.h>

#include "FakeModbusClient.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Data;
using test::Failure;

// A reply's data after the function code.
Bytes Reply(std::uint8_t code, std::uint8_t conformity, bool more, std::uint8_t next,
            const std::vector<std::pair<std::uint8_t, std::string>>& objects) {
  Bytes b = {0x0E, code, conformity, static_cast<std::uint8_t>(more ? 0xFF : 0x00), next,
             static_cast<std::uint8_t>(objects.size())};
  for (const auto& [id, value] : objects) {
    b.push_back(id);
    b.push_back(static_cast<std::uint8_t>(value.size()));
    b.insert(b.end(), value.begin(), value.end());
  }
  return b;
}

struct MalformedCase {
  const char* name;
  Bytes data;
  const char* message;
};
void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedIdentification : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedIdentification, IsRefusedWithItsCause) {
  const auto r = CDeviceIdentification::Decode(GetParam().data);
  ASSERT_FALSE(r.Ok());
  EXPECT_NE(r.Error().find(GetParam().message), std::string::npos) << r.Error();
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedIdentification, ::testing::Values(
    MalformedCase{"empty", {}, "too short"},
    MalformedCase{"header only in part", {0x0E, 0x01, 0x01, 0x00, 0x00}, "too short"},
    MalformedCase{"other MEI type", {0x0D, 0x01, 0x01, 0x00, 0x00, 0x00}, "MEI type 13"},
    MalformedCase{"more follows not 00 or FF", {0x0E, 0x01, 0x01, 0x01, 0x00, 0x00}, "more follows"},
    MalformedCase{"count beyond the objects", {0x0E, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x01, 'A'}, "inside object 2"},
    MalformedCase{"length past the end", {0x0E, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0xFF, 'A', 'B'}, "runs past the end"},
    MalformedCase{"bytes after the objects", {0x0E, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 'A', 'B'}, "after its last object"}));

TEST(DeviceIdentification, DecodesObjectsAsSent) {
  const auto r = CDeviceIdentification::Decode(Reply(1, 0x81, false, 0, {{0, "Zel"}, {1, ""}, {2, std::string("\x01\x1b", 2)}}));
  ASSERT_TRUE(r.Ok()) << r.Error();
  EXPECT_EQ(r->conformity, 0x81);
  ASSERT_EQ(r->objects.size(), 3u);
  EXPECT_EQ(r->objects[0].value, "Zel");
  EXPECT_EQ(r->objects[1].value, "");
  EXPECT_EQ(r->objects[2].value, std::string("\x01\x1b", 2));  // the caller escapes before showing
  EXPECT_EQ(CDeviceIdentification::ObjectName(2), "MajorMinorRevision");
  EXPECT_EQ(CDeviceIdentification::ObjectName(0x80), "");
}

TEST(DeviceIdentification, FollowsMoreFollowsAndAddsRegularObjects) {
  test::FakeModbusClient client([](const test::Asked& a) {
    EXPECT_EQ(a.function, 43);
    if (a.data == Bytes{0x0E, 1, 0}) return Data(Reply(1, 0x82, true, 2, {{0, "Zelmar"}, {1, "AD15"}}));
    if (a.data == Bytes{0x0E, 1, 2}) return Data(Reply(1, 0x82, false, 0, {{2, "1.04"}}));
    if (a.data == Bytes{0x0E, 2, 3}) return Data(Reply(2, 0x82, false, 0, {{4, "Drive"}, {0, "Zelmar"}}));
    return Failure(modbus::kException, 2);
  });
  const auto r = CDeviceIdentification::Read(client, 7);
  ASSERT_TRUE(r.Ok()) << r.Error();
  ASSERT_EQ(r->size(), 4u);
  EXPECT_EQ((*r)[0].value, "Zelmar");
  EXPECT_EQ((*r)[2].value, "1.04");
  EXPECT_EQ((*r)[3].id, 4);
  EXPECT_EQ(client.asked.size(), 3u);
  EXPECT_EQ(client.asked[0].station, 7);
}

TEST(DeviceIdentification, NoIdentificationAndDevicesThatGoInCircles) {
  test::FakeModbusClient none([](const test::Asked&) { return Failure(modbus::kException, 1); });
  const auto r = CDeviceIdentification::Read(none, 1);
  ASSERT_FALSE(r.Ok());
  EXPECT_NE(r.Error().find("exception 01 (illegal function)"), std::string::npos);

  // "More follows" that points back at the object just asked would ask forever.
  test::FakeModbusClient circling([](const test::Asked&) { return Data(Reply(1, 0x81, true, 0, {{0, "x"}})); });
  const auto c = CDeviceIdentification::Read(circling, 1);
  ASSERT_FALSE(c.Ok());
  EXPECT_NE(c.Error().find("does not move on"), std::string::npos);
  EXPECT_EQ(circling.asked.size(), 1u);

  // One forward step at a time ends after at most 256 requests.
  test::FakeModbusClient creeping([](const test::Asked& a) {
    const std::uint8_t at = a.data[2];
    return Data(Reply(1, 0x81, true, static_cast<std::uint8_t>(at + 1), {{at, "v"}}));
  });
  const auto slow = CDeviceIdentification::Read(creeping, 1);
  EXPECT_FALSE(slow.Ok());
  EXPECT_LE(creeping.asked.size(), 256u);
}

}  // namespace
}  // namespace corvane
