// The INI file rules: where writes land, what is kept, and damaged files.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/CIni.h"
#include "settings/CProfileFile.h"
#include "tests/settings/SettingsTestSupport.h"

namespace corvane {
namespace {

// A literal with NUL bytes inside, without its closing NUL.
template <std::size_t N>
std::string Bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

class ProfileFileTest : public test::SettingsDir {
protected:
  void SetUp() override {
    SettingsDir::SetUp();
    m_path = PathOf("test.ini");
  }
  bool Write(const std::string& s, const std::string& k, const std::string& v) {
    return CProfileFile::WriteString(m_path, s, k, v);
  }
  std::string Read(const std::string& s, const std::string& k) {
    return CProfileFile::ReadString(m_path, s, k, "<def>");
  }

  std::string m_path;
};

struct EditRow {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST_F(ProfileFileTest, WhereWritesLand) {
  const EditRow rows[] = {
      {"replace in place keeps the key's spelling", "[S]\nA=1\nKey=old\nZ=2\n", "s", "KEY", "new",
       "[S]\nA=1\nKey=new\nZ=2\n"},
      {"new key at the end of its section", "[S]\na=1\n\n[T]\nb=2\n", "S", "c", "3",
       "[S]\na=1\nc=3\n\n[T]\nb=2\n"},
      {"new key in an empty section", "[S]\n[T]\nb=2\n", "S", "c", "3", "[S]\nc=3\n[T]\nb=2\n"},
      {"new section at the end of the file", "[S]\na=1\n", "New", "k", "v", "[S]\na=1\n\n[New]\nk=v\n"},
      {"comments and unknown lines stay", "; top\n[S]\n; note\njunk line\na=1\n", "S", "a", "2",
       "; top\n[S]\n; note\njunk line\na=2\n"},
      {"a commented key is not the key", "[S]\n;a=1\n", "S", "a", "2", "[S]\n;a=1\na=2\n"},
      {"first of duplicate sections", "[S]\na=1\n[s]\na=9\n", "S", "a", "2", "[S]\na=2\n[s]\na=9\n"},
      {"spaces around the name", "[ S ]\n  a = 1\n", "S", "a", "2", "[ S ]\na=2\n"},
      {"file without final line end", "[S]\na=1", "S", "b", "2", "[S]\na=1\nb=2\n"},
      {"empty value", "[S]\na=1\n", "S", "a", "", "[S]\na=\n"},
  };
  for (const EditRow& r : rows) {
    SCOPED_TRACE(r.name);
    Put(m_path, r.before);
    ASSERT_TRUE(Write(r.section, r.key, r.value));
    EXPECT_EQ(Get(m_path), r.after);
  }
}

TEST_F(ProfileFileTest, NamesMatchIgnoringCase) {
  Put(m_path, "[CommConf]\nCommType=1\n");
  EXPECT_EQ(Read("COMMCONF", "commtype"), "1");
  EXPECT_EQ(Read("CommConf", " CommType "), "1");
  EXPECT_EQ(Read("CommConf", "CommTyp"), "<def>");
  EXPECT_EQ(Read("Comm", "CommType"), "<def>");
}

TEST_F(ProfileFileTest, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
  EXPECT_EQ(Read("S", "a"), "<def>");
  EXPECT_TRUE(CProfileFile::ReadSectionNames(m_path).empty());
  EXPECT_TRUE(CProfileFile::ReadSection(m_path, "S").empty());
  EXPECT_TRUE(CProfileFile::DeleteKey(m_path, "S", "a"));
  EXPECT_TRUE(CProfileFile::DeleteSection(m_path, "S"));
  EXPECT_FALSE(std::filesystem::exists(m_path));  // deleting nothing creates nothing
  ASSERT_TRUE(Write("S", "a", "1"));
  EXPECT_EQ(Get(m_path), "[S]\na=1\n");
}

TEST_F(ProfileFileTest, MissingFolderFailsAndIsNotCreated) {
  const std::string path = PathOf("no/such/folder/x.ini");
  EXPECT_FALSE(CProfileFile::WriteString(path, "S", "a", "1"));
  EXPECT_FALSE(CProfileFile::WriteSection(path, "S", {"a=1"}));
  EXPECT_FALSE(std::filesystem::exists(PathOf("no")));
  CIni ini(path);
  EXPECT_FALSE(ini.WriteInt("S", "a", 1));
  EXPECT_EQ(ini.GetInt("S", "a", 7), 7);
}

TEST_F(ProfileFileTest, ValuesThatWouldBreakTheFileAreRefused) {
  Put(m_path, "[S]\na=1\n");
  struct Row {
    std::string section, key, value;
  } rows[] = {
      {"S", "a", "x\n[Evil]\nk=v"}, {"S", "a", "x\ry"}, {"S", "a", std::string("x\0y", 3)},
      {"S", "b=c", "1"},            {"S", "", "1"},     {"S", " ", "1"},
      {"S", "[T]", "1"},            {"S", ";c", "1"},   {"S]x", "a", "1"},
      {"S\nT", "a", "1"},
  };
  for (const Row& r : rows) {
    EXPECT_FALSE(Write(r.section, r.key, r.value));
  }
  EXPECT_FALSE(CProfileFile::WriteSection(m_path, "S", {"a=1\n[Evil]"}));
  EXPECT_FALSE(CProfileFile::WriteSection(m_path, "S", {"[Evil]"}));
  EXPECT_EQ(Get(m_path), "[S]\na=1\n");
}

TEST_F(ProfileFileTest, ReadAndWriteWholeSection) {
  Put(m_path, "[S]\n a=1 \n; note\n\nb\n[T]\nc=3\n");
  EXPECT_EQ(CProfileFile::ReadSection(m_path, "s"), (std::vector<std::string>{"a=1", "b"}));
  ASSERT_TRUE(CProfileFile::WriteSection(m_path, "S", {"x=1", "y=2"}));
  EXPECT_EQ(Get(m_path), "[S]\nx=1\ny=2\n[T]\nc=3\n");
  ASSERT_TRUE(CProfileFile::WriteSection(m_path, "U", {"z=0"}));
  EXPECT_EQ(Read("U", "z"), "0");
  EXPECT_EQ(Read("T", "c"), "3");
}

TEST_F(ProfileFileTest, CrLfFileKeepsItsLineEnds) {
  Put(m_path, "[S]\r\na=1\r\n; c\r\n[T]\r\nb=2\r\n");
  EXPECT_EQ(Read("S", "a"), "1");
  ASSERT_TRUE(Write("S", "c", "3"));
  ASSERT_TRUE(Write("T", "b", "4"));
  ASSERT_TRUE(Write("U", "d", "5"));
  EXPECT_EQ(Get(m_path), "[S]\r\na=1\r\n; c\r\nc=3\r\n[T]\r\nb=4\r\n\r\n[U]\r\nd=5\r\n");
  EXPECT_EQ(Read("S", "c"), "3");
}

struct BadFileRow {
  const char* name;
  std::string content;
};

// Each damaged file is read without harm, and a write keeps the good keys.
TEST_F(ProfileFileTest, DamagedFilesKeepTheirKeys) {
  const std::string longLine(1 << 20, 'x');
  const BadFileRow rows[] = {
      {"NUL bytes", Bytes("[S]\nkeep=1\nbad=a\0b\n\0\0\n[T]\nkeep=2\n")},
      {"very long lines", "[S]\nkeep=1\n" + longLine + "\nlong=" + longLine + "\n[T]\nkeep=2\n"},
      {"lines without =", "[S]\nkeep=1\nno equals here\n\n[T]\nkeep=2\n"},
      {"header without ]", "[S]\nkeep=1\n[Broken\nz=9\n[T]\nkeep=2\n"},
      {"mixed line ends", "[S]\r\nkeep=1\n[T]\r\nkeep=2\r\n"},
      {"stray CR", "[S]\nkeep=1\r\r\n[T]\nkeep=2\n"},
      {"binary noise", std::string("\x01\x02\xFF\n[S]\nkeep=1\n\x7F=\x80\n[T]\nkeep=2\n\x01\x02")},
      {"byte order mark", "\xEF\xBB\xBF[S]\nkeep=1\n[T]\nkeep=2\n"},
  };
  for (const BadFileRow& r : rows) {
    SCOPED_TRACE(r.name);
    Put(m_path, r.content);
    CIni ini(m_path);
    meStringArray names;
    ini.GetSectionNames(&names);
    ini.GetKeyNames("S", &names);
    ASSERT_TRUE(ini.WriteString("S", "added", "new"));
    ASSERT_TRUE(ini.WriteString("T", "keep", "3"));
    EXPECT_EQ(ini.GetString("S", "keep"), "1");
    EXPECT_EQ(ini.GetString("S", "added"), "new");
    EXPECT_EQ(ini.GetString("T", "keep"), "3");
  }
}

TEST_F(ProfileFileTest, NulInsideAValueEndsIt) {
  Put(m_path, Bytes("[S]\nbad=a\0b\nok=1\n"));
  EXPECT_EQ(Read("S", "bad"), "a");
  ASSERT_TRUE(Write("S", "ok", "2"));
  EXPECT_EQ(Get(m_path), Bytes("[S]\nbad=a\0b\nok=2\n"));  // the damaged line is kept as it was
}

TEST_F(ProfileFileTest, HeaderWithoutBracketNamesTheRestOfTheLine) {
  Put(m_path, "[Broken\nz=9\n");
  EXPECT_EQ(Read("Broken", "z"), "9");
  EXPECT_EQ(CProfileFile::ReadSectionNames(m_path), (std::vector<std::string>{"Broken"}));
}

TEST_F(ProfileFileTest, ByteOrderMarkStaysAndDoesNotHideTheFirstSection) {
  Put(m_path, "\xEF\xBB\xBF[S]\na=1\n");
  EXPECT_EQ(Read("S", "a"), "1");
  ASSERT_TRUE(Write("S", "a", "2"));
  EXPECT_EQ(Get(m_path), "\xEF\xBB\xBF[S]\na=2\n");
}

TEST_F(ProfileFileTest, FolderInPlaceOfTheFileIsNotTouched) {
  std::filesystem::create_directory(m_path);
  EXPECT_EQ(Read("S", "a"), "<def>");
  EXPECT_FALSE(Write("S", "a", "1"));
  EXPECT_TRUE(std::filesystem::is_directory(m_path));
}

TEST_F(ProfileFileTest, OversizedFileIsNeitherReadNorOverwritten) {
  Put(m_path, "[S]\na=1\n");
  std::filesystem::resize_file(m_path, CProfileFile::kMaxFileSize + 1);  // sparse, costs no disk
  EXPECT_EQ(Read("S", "a"), "<def>");
  EXPECT_FALSE(Write("S", "b", "2"));
  EXPECT_FALSE(CProfileFile::DeleteKey(m_path, "S", "a"));
  EXPECT_FALSE(CProfileFile::DeleteSection(m_path, "S"));
  EXPECT_EQ(std::filesystem::file_size(m_path), CProfileFile::kMaxFileSize + 1);
}

TEST_F(ProfileFileTest, DeleteRemovesEveryCopy) {
  Put(m_path, "[S]\na=1\nA=2\nb=3\n[T]\nx=1\n[s]\na=4\nc=5\n");
  ASSERT_TRUE(CProfileFile::DeleteKey(m_path, "S", "a"));
  EXPECT_EQ(Read("S", "a"), "<def>");
  EXPECT_EQ(Get(m_path), "[S]\nb=3\n[T]\nx=1\n[s]\nc=5\n");
  ASSERT_TRUE(CProfileFile::DeleteSection(m_path, "S"));
  EXPECT_EQ(Get(m_path), "[T]\nx=1\n");
}

}  // namespace
}  // namespace corvane
