#include "project/CProjectWriter.h"

#include <gtest/gtest.h>

#include "ProjectTestSupport.h"
#include "project/CProjectReader.h"

namespace corvane::test {
namespace {

TEST(ProjectWriter, EmptyProjectIsTheFixed23Bytes) {
  const Bytes file = CProjectWriter().Content();
  const Bytes head = {0x0B, 0x43, 0x6F, 0x72, 0x76, 0x61, 0x6E, 0x65, 0x2E, 0x65, 0x78,
                      0x65, 0x04, 0x31, 0x2E, 0x32, 0x33, 0x00, 0x00, 0x00, 0x00};
  ASSERT_EQ(file.size(), 23u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 21), head);
  const std::uint16_t crc = Crc16Modbus(head.data(), head.size());
  EXPECT_EQ(file[21], crc & 0xFF);  // low byte first
  EXPECT_EQ(file[22], crc >> 8);
}

TEST(ProjectWriter, TwoModulesRoundTrip) {
  CProjectWriter w;
  Bytes a(10240);
  for (std::size_t i = 0; i < a.size(); ++i) a[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes b = {0, 0, 0xFF};
  ASSERT_TRUE(w.AddRecord("0203", "DriveA", a).Ok());
  ASSERT_TRUE(w.AddRecord("0A10", "CardB", b).Ok());
  EXPECT_EQ(w.RecordCount(), 2);
  const Bytes file = w.Content();
  // Header, count 2, then the first record laid out field by field.
  EXPECT_EQ(file[17], 2);
  EXPECT_EQ(Bytes(file.begin() + 21, file.begin() + 37),
            (Bytes{4, '0', '2', '0', '3', 6, 'D', 'r', 'i', 'v', 'e', 'A', 0x00, 0x28, 0x00, 0x00}));

  RecordingVisitor v;
  const CProjectResult r = CProjectReader::Parse(file, v);
  ASSERT_TRUE(r.Ok()) << r.description;
  EXPECT_EQ(v.seen, (std::vector<SeenRecord>{{"0203", "DriveA", a}, {"0A10", "CardB", b}}));
}

TEST(ProjectWriter, RefusesDataLargerThanTheBuffer) {
  CProjectWriter w;
  const CProjectResult r = w.AddRecord("0203", "DriveA", Bytes(10241));
  EXPECT_EQ(r.status, ProjectStatus::RecordTooLarge);
  EXPECT_NE(r.description.find("10241"), std::string::npos) << r.description;
  EXPECT_EQ(w.RecordCount(), 0);
  EXPECT_EQ(w.Content(), CProjectWriter().Content());
}

TEST(ProjectWriter, LongNamesUseTheWiderPrefixes) {
  CProjectWriter w;
  const std::string name(65534, 'n');
  ASSERT_TRUE(w.AddRecord(std::string(255, 'c'), name, {}).Ok());
  RecordingVisitor v(std::map<std::string, std::string>{{std::string(255, 'c'), name}});
  const CProjectResult r = CProjectReader::Parse(w.Content(), v);
  ASSERT_TRUE(r.Ok()) << r.description;
  ASSERT_EQ(v.seen.size(), 1u);
  EXPECT_EQ(v.seen[0].name, name);
}

}  // namespace
}  // namespace corvane::test
