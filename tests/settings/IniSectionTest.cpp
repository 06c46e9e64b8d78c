// Section and key level operations of CIni: names, existence, copy, move, delete.
#include <string>
#include <vector>

#include "settings/CIni.h"
#include "tests/settings/SettingsTestSupport.h"

namespace corvane {
namespace {

class IniSectionTest : public test::SettingsDir {
protected:
  void SetUp() override {
    SettingsDir::SetUp();
    m_path = PathOf("test.ini");
    m_ini.SetPathName(m_path.c_str());
  }
  std::vector<std::string> Keys(const char* section) const {
    meStringArray list;
    m_ini.GetKeyNames(section, &list);
    return list.Items();
  }
  std::vector<std::string> Sections() const {
    meStringArray list;
    m_ini.GetSectionNames(&list);
    return list.Items();
  }

  std::string m_path;
  CIni m_ini;
};

TEST_F(IniSectionTest, KeyNamesSkipLinesWithoutAName) {
  Put(m_path, "[S]\na=1\n=2\nb\n c =3\n; note=9\n[T]\nz=1\n");
  EXPECT_EQ(Keys("S"), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(Keys("s"), (std::vector<std::string>{"a", "c"}));
  EXPECT_TRUE(Keys("Missing").empty());
  meStringArray list;
  list.Add("stale");
  m_ini.GetKeyNames(nullptr, &list);
  EXPECT_EQ(list.GetSize(), 0);
}

TEST_F(IniSectionTest, SectionNamesInFileOrder) {
  EXPECT_TRUE(Sections().empty());  // missing file
  Put(m_path, "[One]\na=1\n[Two]\n[one]\nb=2\n[Three]\n");
  EXPECT_EQ(Sections(), (std::vector<std::string>{"One", "Two", "Three"}));
  EXPECT_TRUE(m_ini.IsSectionExist("TWO"));
  EXPECT_TRUE(m_ini.IsSectionExist("three"));
  EXPECT_FALSE(m_ini.IsSectionExist("Four"));
}

TEST_F(IniSectionTest, KeyExistsEvenWhenEmpty) {
  Put(m_path, "[S]\nEmpty=\nFull=x\n");
  EXPECT_TRUE(m_ini.IsKeyExist("S", "Empty"));
  EXPECT_TRUE(m_ini.IsKeyExist("s", "FULL"));
  EXPECT_FALSE(m_ini.IsKeyExist("S", "None"));
  EXPECT_FALSE(m_ini.IsKeyExist("T", "Full"));
}

struct CopySectionRow {
  const char* source;
  const char* target;
  bool failIfExist;
  bool ok;
};

TEST_F(IniSectionTest, CopySectionRules) {
  const CopySectionRow rows[] = {
      {"Src", "src", false, false},   // same name ignoring case
      {"None", "New", false, false},  // no source
      {"Src", "Dst", true, false},    // target exists
      {"Src", "Dst", false, true},
      {"Src", "New", true, true},
  };
  for (const CopySectionRow& r : rows) {
    SCOPED_TRACE(std::string(r.source) + " -> " + r.target);
    Put(m_path, "[Src]\na=1\nb=2\n[Dst]\nold=0\n");
    EXPECT_EQ(m_ini.CopySection(r.source, r.target, r.failIfExist), r.ok);
    if (r.ok) {
      EXPECT_EQ(Keys(r.target), (std::vector<std::string>{"a", "b"}));
      EXPECT_EQ(m_ini.GetString(r.target, "b"), "2");
      EXPECT_TRUE(m_ini.IsSectionExist("Src"));
    } else {
      EXPECT_EQ(Get(m_path), "[Src]\na=1\nb=2\n[Dst]\nold=0\n");
    }
  }
}

TEST_F(IniSectionTest, MoveSectionDeletesTheSource) {
  Put(m_path, "[Src]\na=1\n[Other]\nx=1\n");
  ASSERT_TRUE(m_ini.MoveSection("Src", "Dst", true));
  EXPECT_FALSE(m_ini.IsSectionExist("Src"));
  EXPECT_EQ(m_ini.GetString("Dst", "a"), "1");
  EXPECT_EQ(m_ini.GetString("Other", "x"), "1");
  EXPECT_FALSE(m_ini.MoveSection("Src", "Dst2", false));
}

struct CopyKeyRow {
  const char* sSection;
  const char* sKey;
  const char* tSection;
  const char* tKey;
  bool failIfExist;
  bool ok;
};

TEST_F(IniSectionTest, CopyKeyRules) {
  const CopyKeyRow rows[] = {
      {"S", "a", "s", "A", false, false},  // same key ignoring case
      {"S", "none", "S", "c", false, false},
      {"S", "a", "S", "b", true, false},   // target exists
      {"S", "a", "S", "b", false, true},
      {"S", "a", "T", "a", true, true},    // same key name, other section
      {"S", "a", "S", "c", true, true},
  };
  for (const CopyKeyRow& r : rows) {
    SCOPED_TRACE(std::string(r.sSection) + "." + r.sKey + " -> " + r.tSection + "." + r.tKey);
    Put(m_path, "[S]\na=1\nb=2\n");
    EXPECT_EQ(m_ini.CopyKey(r.sSection, r.sKey, r.tSection, r.tKey, r.failIfExist), r.ok);
    if (r.ok) {
      EXPECT_EQ(m_ini.GetString(r.tSection, r.tKey), "1");
      EXPECT_EQ(m_ini.GetString("S", "a"), "1");
    } else {
      EXPECT_EQ(Get(m_path), "[S]\na=1\nb=2\n");
    }
  }
}

TEST_F(IniSectionTest, MoveKeyDeletesTheSource) {
  Put(m_path, "[S]\na=1\nb=2\n");
  ASSERT_TRUE(m_ini.MoveKey("S", "a", "T", "z", false));
  EXPECT_FALSE(m_ini.IsKeyExist("S", "a"));
  EXPECT_EQ(m_ini.GetString("T", "z"), "1");
  EXPECT_EQ(m_ini.GetString("S", "b"), "2");
}

TEST_F(IniSectionTest, DeleteSectionAndKey) {
  Put(m_path, "[A]\nx=1\ny=2\n[B]\nz=3\n");
  ASSERT_TRUE(m_ini.DeleteKey("a", "X"));
  EXPECT_EQ(Keys("A"), (std::vector<std::string>{"y"}));
  ASSERT_TRUE(m_ini.DeleteSection("b"));
  EXPECT_EQ(Sections(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(Get(m_path), "[A]\ny=2\n");
  EXPECT_TRUE(m_ini.DeleteSection("Gone"));  // nothing to remove is not a failure
}

}  // namespace
}  // namespace corvane
