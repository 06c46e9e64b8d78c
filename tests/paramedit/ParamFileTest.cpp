// The parameter description file: what a line must hold, and that one bad line refuses the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "modules/paramedit/CParamFile.h"

namespace corvane::paramedit {
namespace {

TEST(ParamFile, ReadsEveryFieldAndSkipsCommentsAndBlankLines) {
  const ParamFileResult r = CParamFile::Parse(
      "# comment\n"
      "; also a comment\n"
      "\n"
      "  0x2000 , Maximum frequency , 0.01 Hz , 0 , 60000 , rw \r\n"
      "18, Identity flag, , 0, 0xFFFF, ro\n"
      "0x2004, Offset, Hz, -5000, 5000, rw");  // no newline at the end
  ASSERT_TRUE(r.Ok()) << r.error;
  ASSERT_EQ(r.params.size(), 3u);
  EXPECT_EQ(r.params[0].address, 0x2000);
  EXPECT_EQ(r.params[0].name, "Maximum frequency");
  EXPECT_EQ(r.params[0].unit, "0.01 Hz");
  EXPECT_EQ(r.params[0].minimum, 0);
  EXPECT_EQ(r.params[0].maximum, 60000);
  EXPECT_FALSE(r.params[0].readOnly);
  EXPECT_EQ(r.params[1].address, 18);
  EXPECT_EQ(r.params[1].unit, "");
  EXPECT_EQ(r.params[1].maximum, 65535);
  EXPECT_TRUE(r.params[1].readOnly);
  EXPECT_TRUE(r.params[2].IsSigned());
  EXPECT_EQ(r.params[2].FromRegister(0xEC78), -5000);
  EXPECT_EQ(ParamSpec::ToRegister(-5000), 0xEC78);
}

TEST(ParamFile, RefusesTheFileAtItsFirstBadLine) {
  const std::string good = "0x0001, Good, , 0, 10, rw\n";
  struct Row {
    const char* line;
    const char* error;
  } rows[] = {
      {"0x0002, Too few, , 0, 10", "line 2: expected 6 fields"},
      {"0x0002, Too, many, , 0, 10, rw", "line 2: expected 6 fields"},
      {"0x10000, Big address, , 0, 10, rw", "line 2: address is not 0..0xFFFF"},
      {"-1, Negative address, , 0, 10, rw", "line 2: address is not 0..0xFFFF"},
      {"0xZZ, Bad hex, , 0, 10, rw", "line 2: address is not 0..0xFFFF"},
      {"0x0001, Twice, , 0, 10, rw", "line 2: address given twice"},
      {"0x0002, , , 0, 10, rw", "line 2: name must have 1..40 characters"},
      {"0x0002, A name far too long for the table of the editor, , 0, 10, rw", "line 2: name must have"},
      {"0x0002, Unit, a unit of seventeen, 0, 10, rw", "line 2: unit longer than 16"},
      {"0x0002, Min, , ten, 10, rw", "line 2: minimum or maximum is not a number"},
      {"0x0002, Min, , 5, 4, rw", "line 2: minimum above maximum"},
      {"0x0002, Wide, , 0, 65536, rw", "line 2: range does not fit a 16-bit register"},
      {"0x0002, Mixed, , -1, 40000, rw", "line 2: range does not fit a 16-bit register"},
      {"0x0002, Low, , -32769, 0, rw", "line 2: range does not fit a 16-bit register"},
      {"0x0002, Huge, , 0, 99999999999, rw", "line 2: minimum or maximum is not a number"},
      {"0x0002, Access, , 0, 10, wr", "line 2: access must be rw or ro"},
  };
  for (const Row& row : rows) {
    const ParamFileResult r = CParamFile::Parse(good + row.line + "\n" + good);
    EXPECT_TRUE(r.params.empty()) << row.line;
    EXPECT_EQ(r.error.rfind(row.error, 0), 0u) << row.line << " -> " << r.error;
  }
}

TEST(ParamFile, BoundsLinesParametersAndFileSize) {
  EXPECT_EQ(CParamFile::Parse(std::string(257, '#')).error, "line 1: longer than 256 characters");
  std::string many;
  for (int i = 0; i <= 200; ++i) many += std::to_string(i) + ", P, , 0, 1, rw\n";
  EXPECT_EQ(CParamFile::Parse(many).error, "line 201: more than 200 parameters");
  EXPECT_FALSE(CParamFile::Parse(std::string(CParamFile::kMaxFileSize + 1, '\n')).Ok());
}

TEST(ParamFile, LoadNamesTheFileInItsError) {
  const auto path = std::filesystem::temp_directory_path() / ("cvn-par-" + std::to_string(::getpid()) + ".par");
  std::ofstream(path) << "1, A, , 0, 1, rw\n2, B, , 0, 1\n";
  const ParamFileResult r = CParamFile::Load(path.string());
  EXPECT_EQ(r.error, path.string() + ": line 2: expected 6 fields (address, name, unit, minimum, maximum, access), found 5");
  std::filesystem::remove(path);
  EXPECT_EQ(CParamFile::Load(path.string()).error, "cannot open " + path.string());
}

TEST(ParamFile, EveryShippedDescriptionFileIsValid) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SOURCE_DIR "/modules/paramedit/params")) {
    const ParamFileResult r = CParamFile::Load(entry.path().string());
    EXPECT_TRUE(r.Ok()) << r.error;
    EXPECT_FALSE(r.params.empty()) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, 7);
}

}  // namespace
}  // namespace corvane::paramedit
