#include "project/CAtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "ProjectTestSupport.h"
#include "project/CProjectWriter.h"

namespace corvane::test {
namespace {

enum class FailAt { Open, FirstWrite, SecondWrite, Fsync, Close, Rename };

struct FailCase {
  const char* label;
  FailAt step;
  int err;
  const char* reason;  // errno text expected in the description
};
void PrintTo(const FailCase& c, std::ostream* os) { *os << c.label; }


// Fails one step of the save; writes go through in small pieces so "part-way" is real.
CFileOps Failing(FailAt step, int err) {
  CFileOps ops = CFileOps::System();
  auto writes = std::make_shared<int>(0);
  auto fail = [err](auto result) {
    errno = err;
    return result;
  };
  const CFileOps sys = CFileOps::System();
  switch (step) {
    case FailAt::Open: ops.open = [=](const char*, int, mode_t) { return fail(-1); }; break;
    case FailAt::FirstWrite:
    case FailAt::SecondWrite:
      ops.write = [=](int fd, const void* data, size_t size) -> ssize_t {
        const int n = ++*writes;
        if ((step == FailAt::FirstWrite && n == 1) || (step == FailAt::SecondWrite && n == 2))
          return fail(ssize_t{-1});
        return sys.write(fd, data, size < 8 ? size : 8);
      };
      break;
    case FailAt::Fsync: ops.fsync = [=](int) { return fail(-1); }; break;
    case FailAt::Close: ops.close = [=](int fd) { sys.close(fd); return fail(-1); }; break;
    case FailAt::Rename: ops.rename = [=](const char*, const char*) { return fail(-1); }; break;
  }
  return ops;
}

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::size_t EntriesIn(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

class AtomicFileFailures : public ProjectFolderTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(AtomicFileFailures, OldFileStaysWhole) {
  const FailCase& c = GetParam();
  const std::string path = PathOf("plant.cvn");
  CProjectWriter old;
  ASSERT_TRUE(old.AddRecord("0203", "DriveA", Bytes(100, 1)).Ok());
  ASSERT_TRUE(old.Save(path).Ok());
  const Bytes before = ReadAll(path);

  CProjectWriter next;
  ASSERT_TRUE(next.AddRecord("0A10", "CardB", Bytes(500, 2)).Ok());
  const CProjectResult r = next.Save(path, Failing(c.step, c.err));
  EXPECT_EQ(r.status, ProjectStatus::FileError) << c.label;
  EXPECT_NE(r.description.find(path), std::string::npos) << r.description;
  EXPECT_NE(r.description.find(c.reason), std::string::npos) << r.description;
  EXPECT_EQ(ReadAll(path), before) << c.label;
  EXPECT_EQ(EntriesIn(m_dir), 1u) << "temporary file left behind: " << c.label;
}

INSTANTIATE_TEST_SUITE_P(Steps, AtomicFileFailures,
                         ::testing::Values(FailCase{"open", FailAt::Open, EACCES, "Permission denied"},
                                           FailCase{"first_write", FailAt::FirstWrite, ENOSPC, "No space left"},
                                           FailCase{"part_way", FailAt::SecondWrite, EIO, "Input/output error"},
                                           FailCase{"fsync", FailAt::Fsync, EIO, "Input/output error"},
                                           FailCase{"close", FailAt::Close, EDQUOT, "quota"},
                                           FailCase{"rename", FailAt::Rename, EXDEV, "cross-device"}),
                         [](const auto& info) { return std::string(info.param.label); });

class AtomicFileWrite : public ProjectFolderTest {};

TEST_F(AtomicFileWrite, ReplacesContentAndKeepsPermissions) {
  const std::string path = PathOf("plant.cvn");
  { std::ofstream(path) << "old content that is longer than the new one......................"; }
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const Bytes content = CProjectWriter().Content();
  const CProjectResult r = CAtomicFile::Write(path, content);
  ASSERT_TRUE(r.Ok()) << r.description;
  EXPECT_EQ(ReadAll(path), content);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(EntriesIn(m_dir), 1u);
}

TEST_F(AtomicFileWrite, SavingThroughALinkReplacesItsTarget) {
  const std::string real = PathOf("real.cvn"), link = PathOf("link.cvn");
  { std::ofstream(real) << "old"; }
  std::filesystem::create_symlink(real, link);
  const Bytes content = CProjectWriter().Content();
  ASSERT_TRUE(CAtomicFile::Write(link, content).Ok());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(real), content);
  EXPECT_EQ(EntriesIn(m_dir), 2u);
}

TEST_F(AtomicFileWrite, MissingFolderNamesFileAndReason) {
  const std::string path = PathOf("no/such/folder/p.cvn");
  const CProjectResult r = CAtomicFile::Write(path, CProjectWriter().Content());
  EXPECT_EQ(r.status, ProjectStatus::FileError);
  EXPECT_NE(r.description.find(path), std::string::npos) << r.description;
  EXPECT_NE(r.description.find("No such file or directory"), std::string::npos) << r.description;
}

}  // namespace
}  // namespace corvane::test
