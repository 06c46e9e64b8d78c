// A write that fails part way leaves the old file whole and no temp file behind.
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "settings/CAtomicFile.h"
#include "settings/CIni.h"
#include "tests/settings/SettingsTestSupport.h"

namespace corvane {
namespace {

class AtomicFileTest : public test::SettingsDir {};

TEST_F(AtomicFileTest, FailureAfterNBytesKeepsTheOldFile) {
  const std::string path = PathOf("a.ini");
  const std::string old = "[S]\nold=1\n";
  const std::string next = "[S]\nnew=22222222222222\n";
  for (const std::ptrdiff_t n : {std::ptrdiff_t{0}, std::ptrdiff_t{1}, std::ptrdiff_t{10},
                                 static_cast<std::ptrdiff_t>(next.size())}) {
    SCOPED_TRACE(n);
    Put(path, old);
    CAtomicFile::InjectFailureAfter(n);
    EXPECT_FALSE(CAtomicFile::Write(path, next));
    CAtomicFile::InjectFailureAfter(-1);
    EXPECT_EQ(Get(path), old);
    EXPECT_EQ(EntriesInDir(), 1u);  // no temp file left
  }
  EXPECT_TRUE(CAtomicFile::Write(path, next));
  EXPECT_EQ(Get(path), next);
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, FailedFirstWriteCreatesNothing) {
  const std::string path = PathOf("new.ini");
  CAtomicFile::InjectFailureAfter(3);
  EXPECT_FALSE(CAtomicFile::Write(path, "[S]\na=1\n"));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(EntriesInDir(), 0u);
}

TEST_F(AtomicFileTest, IniWriteReportsTheFailure) {
  const std::string path = PathOf("cvn.ini");
  CIni ini(path);
  ASSERT_TRUE(ini.WriteInt("CommConf", "CommType", 1));
  ASSERT_TRUE(ini.WriteInt("CommConf", "BaudRate", 9600));
  const std::string before = Get(path);
  CAtomicFile::InjectFailureAfter(12);
  EXPECT_FALSE(ini.WriteInt("CommConf", "BaudRate", 115200));
  EXPECT_FALSE(ini.DeleteSection("CommConf"));
  EXPECT_FALSE(ini.CopySection("CommConf", "Backup", false));
  CAtomicFile::InjectFailureAfter(-1);
  EXPECT_EQ(Get(path), before);
  EXPECT_EQ(ini.GetInt("CommConf", "BaudRate", 0), 9600);
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, ReplacementKeepsTheFileMode) {
  const std::string path = PathOf("mode.ini");
  Put(path, "[S]\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(CAtomicFile::Write(path, "[S]\na=1\n"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(AtomicFileTest, WriteThroughALinkReplacesItsTarget) {
  const std::string target = PathOf("real.ini");
  const std::string link = PathOf("link.ini");
  Put(target, "old");
  std::filesystem::create_symlink(target, link);
  ASSERT_TRUE(CAtomicFile::Write(link, "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Get(target), "new");
}

}  // namespace
}  // namespace corvane
