#include "modbus/CStationScan.h"

#include <gtest/gtest.h>

#include <set>

#include "FakeModbusClient.h"

namespace corvane {
namespace {

using test::Data;
using test::Failure;

// Two line settings; stations answer only on the setting they are on.
class FakeTarget : public IScanTarget {
public:
  FakeTarget() : client([this](const test::Asked& a) { return Answer(a); }) {}
  std::size_t SettingCount() const override { return 2; }
  std::string SettingName(std::size_t s) const override { return s == 0 ? "9600 8E1 RTU" : "19200 8N1 RTU"; }
  std::string Select(std::size_t s) override {
    selected = s;
    return s == refused ? "cannot set the speed" : "";
  }
  IModbusClient& Client() override { return client; }

  ModbusAnswer Answer(const test::Asked& a) {
    const auto on = stations[selected];
    if (a.function == 43) return identifying.count(a.station) ? Data({0x0E, 1, 0x01, 0, 0, 1, 0, 2, 'Z', 'e'})
                                                             : Failure(modbus::kException, 1);
    if (on.count(a.station)) return a.station == 9 ? Failure(modbus::kException, 2) : Data({0x00, 0x2A});
    if (a.station == 100) return Failure(modbus::kChecksum);  // noise of a device at another speed
    return Failure(modbus::kTimeout);
  }

  std::size_t selected = 0;
  std::size_t refused = 99;
  std::set<int> stations[2] = {{1, 9, 247}, {5}};
  std::set<int> identifying = {1};
  test::FakeModbusClient client;
};

TEST(StationScan, FindsExactlyTheStationsThatAnswerOnEachSetting) {
  FakeTarget target;
  std::vector<ScanProgress> progress;
  const ScanResult r = CStationScan::Run(target, {}, [&](const ScanProgress& p) {
    progress.push_back(p);
    return true;
  });
  ASSERT_EQ(r.found.size(), 4u);
  EXPECT_EQ(r.found[0].station, 1);
  EXPECT_TRUE(r.found[0].identified);
  ASSERT_EQ(r.found[0].identification.size(), 1u);
  EXPECT_EQ(r.found[0].identification[0].value, "Ze");
  EXPECT_EQ(r.found[1].station, 9);
  EXPECT_TRUE(r.found[1].exceptionReply);  // an exception proves a station too
  EXPECT_EQ(r.found[1].exception, 2);
  EXPECT_FALSE(r.found[0].exceptionReply);
  EXPECT_FALSE(r.found[1].identified);
  EXPECT_NE(r.found[1].identificationError.find("exception 01"), std::string::npos);
  EXPECT_EQ(r.found[2].station, 247);
  EXPECT_EQ(r.found[3].station, 5);
  EXPECT_EQ(r.found[3].setting, 1u);
  EXPECT_EQ(r.settings[0].garbled, 1);
  EXPECT_EQ(progress.size(), 2u * 247u);
  EXPECT_EQ(progress.back().done, 2 * 247 - 1);
  EXPECT_EQ(progress.back().total, 2 * 247);
  // Station 0 (broadcast) and addresses above 247 are never asked.
  for (const auto& a : target.client.asked) {
    EXPECT_GE(a.station, 1);
    EXPECT_LE(a.station, 247);
  }
}

TEST(StationScan, RangeIdentifyOffRefusedSettingAndStop) {
  FakeTarget target;
  target.refused = 0;
  ScanOptions options;
  options.first = 0;
  options.last = 300;
  options.identify = false;
  const ScanResult r = CStationScan::Run(target, options);
  ASSERT_EQ(r.found.size(), 1u);  // only the second setting could be selected
  EXPECT_EQ(r.found[0].station, 5);
  EXPECT_EQ(r.settings[0].error, "cannot set the speed");
  for (const auto& a : target.client.asked) EXPECT_NE(a.function, 43);

  FakeTarget stopping;
  const ScanResult s = CStationScan::Run(stopping, {}, [](const ScanProgress& p) { return p.station < 3; });
  EXPECT_TRUE(s.stopped);
  EXPECT_EQ(s.settings.size(), 1u);
  ASSERT_EQ(s.found.size(), 1u);
  EXPECT_EQ(stopping.client.asked.size(), 2u + 1u);  // stations 1 and 2, and station 1's identification
}

}  // namespace
}  // namespace corvane
