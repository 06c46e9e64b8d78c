// project show and check against the program's own loader, on a table of good and damaged files.
#include <gtest/gtest.h>

#include <fstream>

#include "CliRun.h"
#include "app/CModuleCatalogue.h"
#include "project/CProjectCheck.h"
#include "project/CProjectReader.h"
#include "resources/CStringTable.h"
#include "settings/CIni.h"

namespace clitest {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Counted(Bytes& out, const std::string& s) {
  out.push_back(static_cast<std::uint8_t>(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}
void I32(Bytes& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}
Bytes Record(const std::string& code, const std::string& name, std::int32_t length, std::size_t dataBytes) {
  Bytes r;
  Counted(r, code);
  Counted(r, name);
  I32(r, length);
  r.insert(r.end(), dataBytes, 0x5A);
  return r;
}
// Header, count, the records as given, the check value.
Bytes Project(std::int32_t count, const std::vector<Bytes>& records) {
  Bytes b;
  Counted(b, "Corvane.exe");
  Counted(b, "1.23");
  I32(b, count);
  for (const Bytes& r : records) b.insert(b.end(), r.begin(), r.end());
  const std::uint16_t crc = corvane::CProjectCheck::Compute(b);
  b.push_back(static_cast<std::uint8_t>(crc));
  b.push_back(static_cast<std::uint8_t>(crc >> 8));
  return b;
}
Bytes Changed(Bytes b, std::ptrdiff_t at, std::uint8_t x) {
  b[static_cast<std::size_t>(at < 0 ? static_cast<std::ptrdiff_t>(b.size()) + at : at)] ^= x;
  return b;
}
Bytes CutShort(Bytes b, std::size_t by) {
  b.resize(b.size() - by);
  return b;
}
Bytes Wide(const std::string& code, const std::string& name) {
  Bytes r;
  Counted(r, code);
  r.insert(r.end(), {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(name.size())});
  for (const char c : name) r.insert(r.end(), {static_cast<std::uint8_t>(c), 0});
  I32(r, 0);
  return r;
}

struct ProjectCase {
  const char* name;
  Bytes content;
};
void PrintTo(const ProjectCase& c, std::ostream* os) { *os << c.name; }

const Bytes kAd15 = Record("0015", "AD15", 10, 10);
const Bytes kSmx = Record("4041", "SMX-4041", 0, 0);
const std::string kText = "[CommConf]\nCommType=0\n";

class CliProjectAgreesWithLoader : public ::testing::TestWithParam<ProjectCase> {
protected:
  void SetUp() override {
    std::ofstream(home.File("Modules.ini")) << "[ModuleCode]\n0015=Yes,Yes,AD15,Ethernet,AD15.so\n"
                                               "4041=Yes,Yes,SMX-4041,SMX,SMX-4041.so\n";
  }
  TempHome home;
};

class LoaderVisitor final : public corvane::IProjectVisitor {
public:
  explicit LoaderVisitor(const corvane::CModuleCatalogue& c) : m_catalogue(c) {}
  std::string ModuleNameFor(const std::string& code) override { return m_catalogue.GetModuleName(code); }
  void OnRecord(const std::string&, const std::string& name, std::span<const std::uint8_t>) override {
    names.push_back(name);
  }
  std::vector<std::string> names;

private:
  const corvane::CModuleCatalogue& m_catalogue;
};

TEST_P(CliProjectAgreesWithLoader, SameVerdictRecordsAndMessage) {
  const std::string file = home.File("p.cvn");
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(GetParam().content.data()),
                                               static_cast<std::streamsize>(GetParam().content.size()));
  const corvane::CIni ini(home.File("Modules.ini"));
  const corvane::CModuleCatalogue catalogue(ini);
  LoaderVisitor loader(catalogue);
  const corvane::CProjectResult expected = corvane::CProjectReader::Load(file, loader);

  const CliResult check = RunCli({"project", "check", "--catalogue", home.File("Modules.ini"), "--json", file}, home.Path());
  EXPECT_EQ(check.status, expected.Ok() ? 0 : 1) << check.err;
  EXPECT_NE(check.out.find(std::string("\"valid\":") + (expected.Ok() ? "true" : "false")), std::string::npos) << check.out;
  EXPECT_NE(check.out.find(std::string("\"status\":\"") + corvane::ToString(expected.status) + "\""), std::string::npos)
      << check.out;
  EXPECT_NE(check.out.find("\"records\":" + std::to_string(loader.names.size())), std::string::npos) << check.out;

  const CliResult human = RunCli({"project", "check", "--catalogue", home.File("Modules.ini"), file}, home.Path());
  EXPECT_EQ(human.status, check.status);
  if (expected.MessageId() != 0) {
    // The program's own message box text, then where and why.
    EXPECT_NE(human.err.find(corvane::LoadString(516)), std::string::npos) << human.err;
    EXPECT_NE(human.err.find(expected.description), std::string::npos) << human.err;
  } else if (!expected.Ok()) {
    EXPECT_NE(human.err.find(expected.description), std::string::npos) << human.err;
  }

  const CliResult show = RunCli({"project", "show", "--catalogue", home.File("Modules.ini"), file}, home.Path());
  EXPECT_EQ(show.status, check.status);
  for (const std::string& name : loader.names) EXPECT_NE(show.out.find(name), std::string::npos) << show.out;
}

INSTANTIATE_TEST_SUITE_P(Files, CliProjectAgreesWithLoader, ::testing::Values(
    ProjectCase{"empty project", Project(0, {})},
    ProjectCase{"two modules", Project(2, {kAd15, kSmx})},
    ProjectCase{"the same module twice", Project(2, {kAd15, kAd15})},
    ProjectCase{"a wide module name", Project(1, {Wide("4041", "SMX-4041")})},
    ProjectCase{"negative count: no records", Project(-3, {})},
    ProjectCase{"a data byte changed", Changed(Project(2, {kAd15, kSmx}), 30, 0x01)},
    ProjectCase{"low check byte changed", Changed(Project(1, {kAd15}), -2, 0x80)},
    ProjectCase{"high check byte changed", Changed(Project(1, {kAd15}), -1, 0x01)},
    ProjectCase{"cut short", CutShort(Project(1, {kAd15}), 3)},
    ProjectCase{"code not in the catalogue", Project(2, {kAd15, Record("9999", "AD15", 0, 0)})},
    ProjectCase{"name in other letter case", Project(1, {Record("0015", "ad15", 0, 0)})},
    ProjectCase{"negative data length", Project(1, {Record("0015", "AD15", -1, 0)})},
    ProjectCase{"data length above 10240", Project(1, {Record("0015", "AD15", 10241, 0)})},
    ProjectCase{"count beyond the records", Project(3, {kAd15})},
    ProjectCase{"data running past the end", Project(1, {Record("0015", "AD15", 50, 5)})},
    ProjectCase{"a settings file", Bytes(kText.begin(), kText.end())},
    ProjectCase{"one byte", Bytes{0x0B}},
    ProjectCase{"no bytes", Bytes{}}));

TEST(CliProject, ShowListsCodeNameGroupAndSize) {
  TempHome home;
  std::ofstream(home.File("Modules.ini")) << "[ModuleCode]\n0015=Yes,Yes,AD15,Ethernet,AD15.so\n";
  const Bytes content = Project(1, {kAd15});
  std::ofstream(home.File("p.cvn"), std::ios::binary).write(reinterpret_cast<const char*>(content.data()),
                                                              static_cast<std::streamsize>(content.size()));
  const CliResult r = RunCli({"project", "show", "--catalogue", home.File("Modules.ini"), home.File("p.cvn")}, home.Path());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0], "#  code  name  group     bytes");
  EXPECT_EQ(lines[1], "1  0015  AD15  Ethernet  10");
  const CliResult json = RunCli({"project", "show", "--json", "--catalogue", home.File("Modules.ini"), home.File("p.cvn")},
                                home.Path());
  EXPECT_NE(json.out.find("\"modules\":[{\"code\":\"0015\",\"name\":\"AD15\",\"group\":\"Ethernet\",\"bytes\":10}]"),
            std::string::npos)
      << json.out;
}

}  // namespace
}  // namespace clitest
