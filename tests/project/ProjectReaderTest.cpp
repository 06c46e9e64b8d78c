#include "project/CProjectReader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "ProjectTestSupport.h"
#include "project/CProjectWriter.h"

namespace corvane::test {
namespace {

const Bytes kEmptyHead = {0x0B, 0x43, 0x6F, 0x72, 0x76, 0x61, 0x6E, 0x65, 0x2E, 0x65, 0x78,
                          0x65, 0x04, 0x31, 0x2E, 0x32, 0x33, 0x00, 0x00, 0x00, 0x00};

Bytes TwoModuleFile() {
  CProjectWriter w;
  const Bytes a = {1, 2, 3, 4, 5};
  const Bytes b = {0xFF, 0x00, 0xFE};
  EXPECT_TRUE(w.AddRecord("0203", "DriveA", a).Ok());
  EXPECT_TRUE(w.AddRecord("0A10", "CardB", b).Ok());
  return w.Content();
}

TEST(ProjectReader, EmptyFileLoadsNothing) {
  Bytes file = kEmptyHead;
  file = Sealed(file);
  ASSERT_EQ(file.size(), 23u);
  RecordingVisitor v;
  const CProjectResult r = CProjectReader::Parse(file, v);
  EXPECT_TRUE(r.Ok()) << r.description;
  EXPECT_EQ(r.MessageId(), 0);
  EXPECT_TRUE(v.seen.empty());
}

TEST(ProjectReader, EverySingleByteChangeFailsTheCheck) {
  const Bytes good = TwoModuleFile();
  for (std::size_t pos = 0; pos < good.size(); ++pos) {
    for (int delta = 1; delta < 256; ++delta) {
      Bytes bad = good;
      bad[pos] = static_cast<std::uint8_t>(bad[pos] + delta);
      RecordingVisitor v;
      const CProjectResult r = CProjectReader::Parse(bad, v);
      ASSERT_EQ(r.status, ProjectStatus::InvalidCheck) << "byte " << pos << " +" << delta;
      ASSERT_EQ(r.MessageId(), 516);
      ASSERT_TRUE(v.seen.empty()) << "byte " << pos;
    }
  }
}

struct RecordCase {
  const char* label;
  Bytes content;  // without check value
  ProjectStatus status;
  std::vector<SeenRecord> seen;
};
void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.label; }


Bytes Data(std::size_t n, std::uint8_t fill = 0x5A) { return Bytes(n, fill); }

Bytes WithRecords(std::int32_t count, const std::vector<std::tuple<std::string, std::string, std::int32_t, Bytes>>& rs) {
  Bytes b = Header(count);
  for (const auto& [code, name, length, data] : rs) PutRecord(b, code, name, length, data);
  return b;
}

class ProjectReaderRecords : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ProjectReaderRecords, AppliesValidRecordsThenStops) {
  const RecordCase& c = GetParam();
  RecordingVisitor v;
  const CProjectResult r = CProjectReader::Parse(Sealed(c.content), v);
  EXPECT_EQ(r.status, c.status) << c.label << ": " << r.description;
  EXPECT_EQ(v.seen, c.seen) << c.label;
  EXPECT_EQ(r.records, static_cast<int>(c.seen.size())) << c.label;
  if (c.status == ProjectStatus::InvalidRecord) {
    EXPECT_EQ(r.MessageId(), 516);
  }
}

const SeenRecord kA{"0203", "DriveA", {7, 8}};

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectReaderRecords,
    ::testing::Values(
        RecordCase{"zero length", WithRecords(1, {{"0203", "DriveA", 0, {}}}), ProjectStatus::Ok,
                   {{"0203", "DriveA", {}}}},
        RecordCase{"same module twice", WithRecords(2, {{"0203", "DriveA", 2, {7, 8}}, {"0203", "DriveA", 1, {9}}}),
                   ProjectStatus::Ok, {kA, {"0203", "DriveA", {9}}}},
        RecordCase{"largest data", WithRecords(1, {{"0203", "DriveA", 10240, Data(10240)}}), ProjectStatus::Ok,
                   {{"0203", "DriveA", Data(10240)}}},
        RecordCase{"data one past the buffer",
                   WithRecords(2, {{"0203", "DriveA", 2, {7, 8}}, {"0203", "DriveA", 10241, Data(10241)}}),
                   ProjectStatus::InvalidRecord, {kA}},
        RecordCase{"negative length", WithRecords(2, {{"0203", "DriveA", 2, {7, 8}}, {"0A10", "CardB", -1, {}}}),
                   ProjectStatus::InvalidRecord, {kA}},
        RecordCase{"most negative length", WithRecords(1, {{"0203", "DriveA", INT32_MIN, {}}}),
                   ProjectStatus::InvalidRecord, {}},
        RecordCase{"code not in catalogue", WithRecords(2, {{"0203", "DriveA", 2, {7, 8}}, {"FFFF", "X", 0, {}}}),
                   ProjectStatus::InvalidRecord, {kA}},
        RecordCase{"name differs in case", WithRecords(1, {{"0203", "drivea", 0, {}}}), ProjectStatus::InvalidRecord,
                   {}},
        RecordCase{"data cut short", WithRecords(2, {{"0203", "DriveA", 2, {7, 8}}, {"0A10", "CardB", 50, Data(10)}}),
                   ProjectStatus::ReadError, {kA}},
        RecordCase{"count above records", WithRecords(3, {{"0203", "DriveA", 2, {7, 8}}}), ProjectStatus::ReadError,
                   {kA}},
        RecordCase{"huge count, no records", WithRecords(INT32_MAX, {}), ProjectStatus::ReadError, {}},
        RecordCase{"negative count", WithRecords(-5, {{"0203", "DriveA", 2, {7, 8}}}), ProjectStatus::Ok, {}},
        RecordCase{"bytes after the records are ignored",
                   [] {
                     Bytes b = WithRecords(1, {{"0203", "DriveA", 2, {7, 8}}});
                     b.insert(b.end(), {0xFF, 0xFF, 0xFF});
                     return b;
                   }(),
                   ProjectStatus::Ok, {kA}},
        RecordCase{"name claims 4 GB",
                   [] {
                     Bytes b = Header(1);
                     PutShort(b, "0203");
                     b.insert(b.end(), {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'D'});
                     return b;
                   }(),
                   ProjectStatus::ReadError, {}},
        RecordCase{"program name claims 4 GB", {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8,
                                                9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21},
                   ProjectStatus::ReadError, {}},
        RecordCase{"wide strings", [] {
                     Bytes b = Header(1);
                     b.insert(b.end(), {0xFF, 0xFE, 0xFF, 4, '0', 0, '2', 0, '0', 0, '3', 0});
                     b.insert(b.end(), {0xFF, 0xFE, 0xFF, 0xFF, 6, 0, 'D', 0, 'r', 0, 'i', 0, 'v', 0, 'e', 0, 'A', 0});
                     PutU32(b, 2);
                     b.insert(b.end(), {7, 8});
                     return b;
                   }(),
                   ProjectStatus::Ok, {kA}}),
    [](const auto& info) {
      std::string n = info.param.label;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(ProjectReader, ShorterThanCheckValueIsInvalid) {
  for (const Bytes& file : {Bytes{}, Bytes{0x00}}) {
    RecordingVisitor v;
    const CProjectResult r = CProjectReader::Parse(file, v);
    EXPECT_EQ(r.status, ProjectStatus::InvalidCheck);
    EXPECT_EQ(r.MessageId(), 516);
  }
}

// Every cut of a valid body, resealed, fails on the content rather than the check.
TEST(ProjectReader, EveryTruncationIsAReadError) {
  Bytes file = TwoModuleFile();
  const Bytes body(file.begin(), file.end() - 2);
  for (std::size_t cut = 0; cut < body.size(); ++cut) {
    RecordingVisitor v;
    const CProjectResult r = CProjectReader::Parse(Sealed(Bytes(body.begin(), body.begin() + cut)), v);
    ASSERT_EQ(r.status, ProjectStatus::ReadError) << "cut at " << cut;
    ASSERT_LE(r.offset, cut);
    ASSERT_LT(v.seen.size(), 2u);
  }
}

class ProjectReaderFiles : public ProjectFolderTest {};

TEST_F(ProjectReaderFiles, MissingFileNamesFileAndReason) {
  RecordingVisitor v;
  const std::string path = PathOf("absent.cvn");
  const CProjectResult r = CProjectReader::Load(path, v);
  EXPECT_EQ(r.status, ProjectStatus::FileError);
  EXPECT_NE(r.description.find(path), std::string::npos) << r.description;
  EXPECT_NE(r.description.find("No such file or directory"), std::string::npos) << r.description;
}

TEST_F(ProjectReaderFiles, FolderIsAFileError) {
  RecordingVisitor v;
  const CProjectResult r = CProjectReader::Load(m_dir.string(), v);
  EXPECT_EQ(r.status, ProjectStatus::FileError);
  EXPECT_NE(r.description.find(m_dir.string()), std::string::npos) << r.description;
}

TEST_F(ProjectReaderFiles, FifoIsRefusedWithoutBlocking) {
  const std::string path = PathOf("pipe.cvn");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  RecordingVisitor v;
  const CProjectResult r = CProjectReader::Load(path, v);
  EXPECT_EQ(r.status, ProjectStatus::FileError);
  EXPECT_NE(r.description.find("not a regular file"), std::string::npos) << r.description;
}

TEST_F(ProjectReaderFiles, LoadsWhatWasSaved) {
  CProjectWriter w;
  ASSERT_TRUE(w.AddRecord("0A10", "CardB", Data(300, 1)).Ok());
  const std::string path = PathOf("p.cvn");
  ASSERT_TRUE(w.Save(path).Ok());
  RecordingVisitor v;
  const CProjectResult r = CProjectReader::Load(path, v);
  ASSERT_TRUE(r.Ok()) << r.description;
  EXPECT_EQ(v.seen, (std::vector<SeenRecord>{{"0A10", "CardB", Data(300, 1)}}));
}

}  // namespace
}  // namespace corvane::test
