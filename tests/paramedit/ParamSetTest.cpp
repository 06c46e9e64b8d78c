// The editor's values: edits within the rules, and the project data codec.
#include <gtest/gtest.h>

#include "modules/paramedit/CParamSet.h"
#include "modules/paramedit/CParamTransfer.h"

namespace corvane::paramedit {
namespace {

std::vector<ParamSpec> Specs() {
  return {{0x2000, "Frequency", "Hz", 0, 600, false},
          {0x2001, "Offset", "Hz", -50, 50, false},
          {0x0013, "Code", "", 0, 65535, true}};
}

TEST(ParamSet, EditsAreCheckedAgainstRangeAndAccess) {
  CParamSet set(Specs());
  struct Row {
    std::size_t index;
    std::int32_t value;
    EditResult result;
  } rows[] = {
      {0, 0, EditResult::Ok},          {0, 600, EditResult::Ok},       {0, 601, EditResult::OutOfRange},
      {0, -1, EditResult::OutOfRange}, {1, -50, EditResult::Ok},       {1, -51, EditResult::OutOfRange},
      {2, 5, EditResult::ReadOnly},    {3, 1, EditResult::BadIndex},
  };
  for (const Row& row : rows) EXPECT_EQ(set.Edit(row.index, row.value), row.result) << row.index << " " << row.value;
  EXPECT_EQ(set.Value(0), 600);
  EXPECT_EQ(set.Value(1), -50);
  EXPECT_FALSE(set.Value(2).has_value());
  EXPECT_EQ(set.PendingCount(), 2);
  set.SetFromDevice(0, 42);
  EXPECT_FALSE(set.Pending(0));
  EXPECT_EQ(set.Value(0), 42);
  EXPECT_EQ(CParamSet::Describe(EditResult::OutOfRange, set.Spec(0), 601), "Frequency: 601 is outside 0..600 Hz");
  EXPECT_EQ(CParamSet::Describe(EditResult::ReadOnly, set.Spec(2), 5), "Code is read-only");
}

TEST(ParamSet, ProjectDataRoundTripsAndComesBackPending) {
  CParamSet saved(Specs());
  saved.SetFromDevice(0, 300);
  saved.SetFromDevice(1, 0xFFF6);  // -10
  saved.SetFromDevice(2, 0x0015);
  const std::vector<std::uint8_t> data = saved.Serialize();
  EXPECT_EQ(data.size(), 6u + 3u * 4u);

  CParamSet loaded(Specs());
  const auto report = loaded.Deserialize(data);
  EXPECT_TRUE(report.ok);
  EXPECT_EQ(report.taken, 2);
  EXPECT_EQ(report.skipped, 1);  // the read-only code is the device's, not the project's
  EXPECT_EQ(loaded.Value(0), 300);
  EXPECT_EQ(loaded.Value(1), -10);
  EXPECT_FALSE(loaded.Value(2).has_value());
  EXPECT_TRUE(loaded.Pending(0));  // waits to be written to the device
}

TEST(ParamSet, DamagedProjectDataTakesNothing) {
  CParamSet source(Specs());
  source.SetFromDevice(0, 1);
  const std::vector<std::uint8_t> good = source.Serialize();
  std::vector<std::vector<std::uint8_t>> bad = {
      {},
      {'C', 'P', 'E'},
      {'X', 'P', 'E', '1', 0, 0},
      std::vector<std::uint8_t>(good.begin(), good.end() - 1),  // truncated pair
  };
  bad.push_back(good);
  bad.back()[4] = 2;  // count claims more pairs than there are
  bad.push_back(good);
  bad.back().push_back(0);  // trailing byte
  for (const auto& data : bad) {
    CParamSet set(Specs());
    EXPECT_FALSE(set.Deserialize(data).ok) << data.size();
    EXPECT_FALSE(set.Value(0).has_value());
  }
  // Values outside this device's ranges and unknown addresses are skipped, the rest taken.
  const std::vector<std::uint8_t> mixed = {'C', 'P', 'E', '1', 3, 0, 0x00, 0x20, 0x59, 0x02,  // 0x2000 = 601
                                           0x34, 0x12, 1, 0,                                    // 0x1234 unknown
                                           0x01, 0x20, 5, 0};                                   // 0x2001 = 5
  CParamSet set(Specs());
  const auto report = set.Deserialize(mixed);
  EXPECT_TRUE(report.ok);
  EXPECT_EQ(report.taken, 1);
  EXPECT_EQ(report.skipped, 2);
  EXPECT_FALSE(set.Value(0).has_value());
  EXPECT_EQ(set.Value(1), 5);
}

TEST(ParamSet, RunsJoinAdjacentAddressesUpToTheirLimit) {
  std::vector<ParamSpec> specs;
  for (unsigned a : {0x10u, 0x12u, 0x11u, 0x20u, 0x13u, 0x14u}) specs.push_back({static_cast<std::uint16_t>(a), "P", "", 0, 1, false});
  const std::vector<std::size_t> all{0, 1, 2, 3, 4, 5};
  EXPECT_EQ(PlanRuns(specs, all, 125),
            (std::vector<RegisterRun>{{0x10, 5, {0, 2, 1, 4, 5}}, {0x20, 1, {3}}}));
  EXPECT_EQ(PlanRuns(specs, all, 2),
            (std::vector<RegisterRun>{{0x10, 2, {0, 2}}, {0x12, 2, {1, 4}}, {0x14, 1, {5}}, {0x20, 1, {3}}}));
  EXPECT_EQ(PlanRuns(specs, {1, 99}, 125), (std::vector<RegisterRun>{{0x12, 1, {1}}}));
}

}  // namespace
}  // namespace corvane::paramedit
