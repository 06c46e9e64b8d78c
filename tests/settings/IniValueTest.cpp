// Typed values of CIni and their text forms in the file.
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "settings/CIni.h"
#include "tests/settings/SettingsTestSupport.h"

namespace corvane {
namespace {

class IniValueTest : public test::SettingsDir {
protected:
  void SetUp() override {
    SettingsDir::SetUp();
    m_ini.SetPathName(PathOf("test.ini").c_str());
  }
  // Stores text raw, or leaves the key missing when there is none.
  void Store(const std::optional<std::string>& text) {
    if (text) {
      ASSERT_TRUE(m_ini.WriteString("S", "K", text->c_str()));
    }
  }
  std::string Raw() const { return m_ini.GetString("S", "K", "<missing>"); }

  CIni m_ini;
};

struct WriteIntRow {
  int value;
  int base;
  std::string text;
};

TEST_F(IniValueTest, WriteIntUsesTheBaseForm) {
  const WriteIntRow rows[] = {
      {-1, 10, "-1"},          {255, 16, "FF"},          {255, 2, "11111111"},       {255, 8, "377"},
      {255, 7, "255"},         {0, 2, "0"},              {5, 2, "101"},              {-1, 16, "FFFFFFFF"},
      {-1, 2, std::string(32, '1')},             {INT_MIN, 10, "-2147483648"}, {8, 8, "10"},
  };
  for (const WriteIntRow& r : rows) {
    SCOPED_TRACE(std::to_string(r.value) + " base " + std::to_string(r.base));
    ASSERT_TRUE(m_ini.WriteInt("S", "K", r.value, r.base));
    EXPECT_EQ(Raw(), r.text);
  }
}

TEST_F(IniValueTest, WriteUIntUsesTheBaseForm) {
  ASSERT_TRUE(m_ini.WriteUInt("S", "K", 4294967295u, 10));
  EXPECT_EQ(Raw(), "4294967295");
  ASSERT_TRUE(m_ini.WriteUInt("S", "K", 10u, 16));
  EXPECT_EQ(Raw(), "A");
  ASSERT_TRUE(m_ini.WriteUInt("S", "K", 6u, 3));
  EXPECT_EQ(Raw(), "6");
}

struct GetIntRow {
  std::optional<std::string> text;
  int base;
  int def;
  unsigned expected;
};

TEST_F(IniValueTest, GetIntUsesTheUnsignedConversion) {
  const GetIntRow rows[] = {
      {"-1", 10, 5, 0xFFFFFFFFu},          // all ones
      {"-2", 10, 0, 0xFFFFFFFEu},
      {"FF", 16, 0, 255},          {"ff", 16, 0, 255},        {"0x1F", 16, 0, 31},
      {"377", 8, 0, 255},          {"11111111", 2, 0, 255},   {"12", 7, 0, 12},
      {"19", 8, 0, 1},                                         // conversion stops at the first non-digit
      {"abc", 10, 7, 0},                                       // no digits: 0, not the default
      {"12abc", 10, 0, 12},
      {"99999999999", 10, 0, 0xFFFFFFFFu},                     // overflow saturates
      {"4294967295", 10, 0, 0xFFFFFFFFu},
      {"", 10, 7, 7},                                          // empty: the default
      {std::nullopt, 16, -3, static_cast<unsigned>(-3)},       // missing: the default
      {"1" + std::string(70, '0'), 2, 0, 0xFFFFFFFFu},         // read as 64 characters, still overflows
      {std::string(63, '0') + "7", 10, 0, 7},                  // 64 characters are all read
      {std::string(64, '0') + "7", 10, 0, 0},                  // the 65th is not
  };
  for (const GetIntRow& r : rows) {
    SCOPED_TRACE(r.text.value_or("<missing>") + " base " + std::to_string(r.base));
    ASSERT_TRUE(m_ini.DeleteKey("S", "K"));
    Store(r.text);
    EXPECT_EQ(static_cast<unsigned>(m_ini.GetInt("S", "K", r.def, r.base)), r.expected);
    EXPECT_EQ(m_ini.GetUInt("S", "K", static_cast<unsigned>(r.def), r.base), r.expected);
  }
}

TEST_F(IniValueTest, IncreaseAddsToTheStoredValue) {
  ASSERT_TRUE(m_ini.IncreaseInt("S", "K", 3));
  EXPECT_EQ(Raw(), "3");
  ASSERT_TRUE(m_ini.WriteString("S", "K", "FF"));
  ASSERT_TRUE(m_ini.IncreaseInt("S", "K", 1, 16));
  EXPECT_EQ(Raw(), "100");
  ASSERT_TRUE(m_ini.WriteInt("S", "K", INT_MAX));
  ASSERT_TRUE(m_ini.IncreaseInt("S", "K", 1));  // wraps, no undefined overflow
  EXPECT_EQ(Raw(), "-2147483648");
  ASSERT_TRUE(m_ini.WriteUInt("S", "U", 7u));
  ASSERT_TRUE(m_ini.IncreaseUInt("S", "U", 5u));
  EXPECT_EQ(m_ini.GetString("S", "U"), "12");
}

struct BoolRow {
  std::optional<std::string> text;
  bool def;
  bool expected;
};

TEST_F(IniValueTest, GetBoolTable) {
  const BoolRow rows[] = {
      {"Yes", false, true}, {"TRUE", false, true}, {"tRuE", false, true}, {"5", false, true},
      {"1", false, true},   {"0", true, false},    {"no", true, false},   {"abc", true, false},
      {"false", true, false}, {"", true, true},    {"", false, false},    {std::nullopt, true, true},
      {std::nullopt, false, false},
  };
  for (const BoolRow& r : rows) {
    SCOPED_TRACE(r.text.value_or("<missing>") + (r.def ? " def true" : " def false"));
    ASSERT_TRUE(m_ini.DeleteKey("S", "K"));
    Store(r.text);
    EXPECT_EQ(m_ini.GetBool("S", "K", r.def), r.expected);
  }
}

TEST_F(IniValueTest, WriteAndInvertBool) {
  ASSERT_TRUE(m_ini.WriteBool("S", "K", true));
  EXPECT_EQ(Raw(), "1");
  ASSERT_TRUE(m_ini.WriteBool("S", "K", false));
  EXPECT_EQ(Raw(), "0");
  ASSERT_TRUE(m_ini.InvertBool("S", "K"));
  EXPECT_EQ(Raw(), "1");
  ASSERT_TRUE(m_ini.InvertBool("S", "Missing"));  // missing reads as false
  EXPECT_EQ(m_ini.GetString("S", "Missing"), "1");
}

struct WriteDoubleRow {
  double value;
  int precision;
  const char* text;
};

TEST_F(IniValueTest, WriteDoubleTable) {
  const WriteDoubleRow rows[] = {
      {1.5, 2, "1.50"},        {1.5, 0, "1.500000"},  {1.5, -1, "1.500000"},
      {-2.25, 1, "-2.2"},      {1.0 / 3, 3, "0.333"}, {1e6, -1, "1000000.000000"},
      {0.125, 3, "0.125"},
  };
  for (const WriteDoubleRow& r : rows) {
    SCOPED_TRACE(r.text);
    ASSERT_TRUE(m_ini.WriteDouble("S", "K", r.value, r.precision));
    EXPECT_EQ(Raw(), r.text);
  }
}

struct GetDoubleRow {
  std::optional<std::string> text;
  double expected;
};

TEST_F(IniValueTest, GetDoubleTable) {
  const GetDoubleRow rows[] = {
      {"2.5", 2.5}, {"-0.75", -0.75}, {"+4.5", 4.5}, {"1e3", 1000.0}, {"3.5kg", 3.5},
      {"abc", 0.0}, {"", 9.0},        {std::nullopt, 9.0},
  };
  for (const GetDoubleRow& r : rows) {
    SCOPED_TRACE(r.text.value_or("<missing>"));
    ASSERT_TRUE(m_ini.DeleteKey("S", "K"));
    Store(r.text);
    EXPECT_DOUBLE_EQ(m_ini.GetDouble("S", "K", 9.0), r.expected);
  }
}

TEST_F(IniValueTest, IncreaseDoubleAddsToTheStoredValue) {
  ASSERT_TRUE(m_ini.IncreaseDouble("S", "K", 1.25, 2));
  EXPECT_EQ(Raw(), "1.25");
  ASSERT_TRUE(m_ini.IncreaseDouble("S", "K", 1.5, 2));
  EXPECT_EQ(Raw(), "2.75");
}

TEST_F(IniValueTest, CharReadsTheFirstCharacter) {
  ASSERT_TRUE(m_ini.WriteChar("S", "K", 'Q'));
  EXPECT_EQ(Raw(), "Q");
  ASSERT_TRUE(m_ini.WriteString("S", "K", "xyz"));
  EXPECT_EQ(m_ini.GetChar("S", "K", '-'), 'x');
  ASSERT_TRUE(m_ini.WriteString("S", "K", ""));
  EXPECT_EQ(m_ini.GetChar("S", "K", '-'), '-');
  EXPECT_EQ(m_ini.GetChar("S", "Missing", '+'), '+');
}

struct DataBlockRow {
  std::string text;
  int size;
  int offset;
  int expected;
  std::vector<unsigned char> bytes;
};

TEST_F(IniValueTest, GetDataBlockTable) {
  const DataBlockRow rows[] = {
      {"0aFF", 8, 0, 2, {0x0A, 0xFF}},
      {"0G", 8, 0, 0, {}},                 // a non-hex character spoils the value
      {"00FFz0", 8, 0, 0, {}},
      {"0aF", 8, 0, 1, {0x0A}},            // an odd last digit is ignored
      {"0102030405", 2, 0, 2, {0x01, 0x02}},
      {"0102030405", 8, 3, 2, {0x04, 0x05}},
      {"0102", 8, 2, 0, {}},               // offset at the end
      {"", 8, 0, 0, {}},
      {"0102", 8, -1, 0, {}},
  };
  for (const DataBlockRow& r : rows) {
    SCOPED_TRACE(r.text + " offset " + std::to_string(r.offset));
    ASSERT_TRUE(m_ini.WriteString("S", "K", r.text.c_str()));
    unsigned char buf[8] = {};
    ASSERT_EQ(m_ini.GetDataBlock("S", "K", buf, r.size, r.offset), r.expected);
    EXPECT_EQ(std::vector<unsigned char>(buf, buf + r.expected), r.bytes);
  }
}

TEST_F(IniValueTest, DataBlockWithoutBufferCountsTheBytes) {
  ASSERT_TRUE(m_ini.WriteString("S", "K", "0aFF00"));
  EXPECT_EQ(m_ini.GetDataBlock("S", "K", nullptr, 0), 3);
  EXPECT_EQ(m_ini.GetDataBlock("S", "K", nullptr, 0, 1), 2);
}

TEST_F(IniValueTest, WriteAndAppendDataBlock) {
  const unsigned char a[] = {0x00, 0xAB, 0x7F};
  const unsigned char b[] = {0x10};
  ASSERT_TRUE(m_ini.WriteDataBlock("S", "K", a, 3));
  EXPECT_EQ(Raw(), "00AB7F");
  ASSERT_TRUE(m_ini.AppendDataBlock("S", "K", b, 1));
  EXPECT_EQ(Raw(), "00AB7F10");
  EXPECT_FALSE(m_ini.WriteDataBlock("S", "K", nullptr, 3));
  EXPECT_FALSE(m_ini.AppendDataBlock("S", "K", nullptr, 1));
  EXPECT_EQ(Raw(), "00AB7F10");
}

TEST_F(IniValueTest, PointIsEightLittleEndianBytes) {
  ASSERT_TRUE(m_ini.WritePoint("S", "P", {1, -2}));
  EXPECT_EQ(m_ini.GetString("S", "P"), "01000000FEFFFFFF");
  EXPECT_EQ(m_ini.GetPoint("S", "P", {}), (IniPoint{1, -2}));
  ASSERT_TRUE(m_ini.WriteString("S", "P", "0102"));  // too short
  EXPECT_EQ(m_ini.GetPoint("S", "P", {7, 8}), (IniPoint{7, 8}));
  EXPECT_EQ(m_ini.GetPoint("S", "Missing", {7, 8}), (IniPoint{7, 8}));
}

TEST_F(IniValueTest, RectIsSixteenLittleEndianBytes) {
  const IniRect r{-10, 20, 300000, -4000000};
  ASSERT_TRUE(m_ini.WriteRect("S", "R", r));
  EXPECT_EQ(m_ini.GetString("S", "R"), "F6FFFFFF14000000E093040000F7C2FF");
  EXPECT_EQ(m_ini.GetRect("S", "R", {}), r);
  ASSERT_TRUE(m_ini.WriteString("S", "R", "01000000FEFFFFFF"));  // a point, not a rectangle
  EXPECT_EQ(m_ini.GetRect("S", "R", {1, 2, 3, 4}), (IniRect{1, 2, 3, 4}));
}

struct GetArrayRow {
  const char* value;
  const char* delimiter;
  bool trim;
  std::vector<std::string> items;
};

TEST_F(IniValueTest, GetArrayTable) {
  const GetArrayRow rows[] = {
      {"a,,b", ",", true, {"a", "b"}},
      {"a,b,", ",", true, {"a", "b"}},
      {"a , \tb", ",", true, {"a", "b"}},
      {"a , b", ",", false, {"a ", " b"}},
      {"a, ,b", ",", false, {"a", " ", "b"}},
      {"a, ,b", ",", true, {"a", "b"}},
      {"a::b:c", "::", true, {"a", "b:c"}},
      {"a,b", "", true, {"a,b"}},              // empty delimiter: one item
      {"a;b,c", nullptr, true, {"a;b", "c"}},  // null delimiter: comma
      {"", ",", true, {}},
  };
  for (const GetArrayRow& r : rows) {
    SCOPED_TRACE(r.value);
    ASSERT_TRUE(m_ini.WriteString("S", "K", r.value));
    meStringArray list;
    list.Add("stale");
    m_ini.GetArray("S", "K", &list, r.delimiter, r.trim);
    EXPECT_EQ(list.Items(), r.items);
  }
}

TEST_F(IniValueTest, WriteArrayJoinsTheFirstCountItems) {
  meStringArray list;
  list.Add("x");
  list.Add("y");
  list.Add("z");
  struct Row {
    int count;
    const char* delimiter;
    const char* text;
  } rows[] = {{2, ",", "x,y"}, {-1, ",", "x,y,z"}, {10, ",", "x,y,z"}, {3, "", "x,y,z"},
              {3, nullptr, "x,y,z"}, {3, " | ", "x | y | z"}, {0, ",", ""}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    ASSERT_TRUE(m_ini.WriteArray("S", "K", &list, r.count, r.delimiter));
    EXPECT_EQ(Raw(), r.text);
  }
  EXPECT_FALSE(m_ini.WriteArray("S", "K", nullptr));
}

TEST_F(IniValueTest, LongValuesReadBackWhole) {
  for (std::size_t len : {511u, 512u, 600u, 70000u}) {
    SCOPED_TRACE(len);
    std::string value(len, 'v');
    value.back() = 'E';
    ASSERT_TRUE(m_ini.WriteString("S", "K", value.c_str()));
    EXPECT_EQ(m_ini.GetString("S", "K"), value);
  }
}

TEST_F(IniValueTest, StringIntoBufferIsBounded) {
  ASSERT_TRUE(m_ini.WriteString("S", "K", "hello"));
  char buf[8];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(m_ini.GetString("S", "K", buf, 3), 3);
  EXPECT_EQ(std::string(buf, 4), "hel#");  // no byte past size is touched
  EXPECT_EQ(m_ini.GetString("S", "K", buf, 8), 5);
  EXPECT_STREQ(buf, "hello");
  EXPECT_EQ(m_ini.GetString("S", "Missing", buf, 8, "dflt"), 4);
  EXPECT_STREQ(buf, "dflt");
  EXPECT_EQ(m_ini.GetString("S", "K", nullptr, 8), 0);
}

TEST_F(IniValueTest, StringDefaultsAndAppend) {
  EXPECT_EQ(m_ini.GetString("S", "Missing", nullptr), "");
  EXPECT_EQ(m_ini.GetString("S", "Missing", "d"), "d");
  ASSERT_TRUE(m_ini.WriteString("S", "K", nullptr));  // null value: empty value
  EXPECT_TRUE(m_ini.IsKeyExist("S", "K"));
  EXPECT_EQ(Raw(), "");
  ASSERT_TRUE(m_ini.AppendString("S", "K", "ab"));
  ASSERT_TRUE(m_ini.AppendString("S", "K", "cd"));
  EXPECT_EQ(Raw(), "abcd");
  EXPECT_FALSE(m_ini.AppendString("S", "K", nullptr));
  EXPECT_EQ(Raw(), "abcd");
}

TEST_F(IniValueTest, NullSectionOrKeyFailsWritesAndDefaultsReads) {
  const char* names[][2] = {{nullptr, "K"}, {"S", nullptr}, {nullptr, nullptr}};
  const unsigned char byte = 1;
  meStringArray list;
  list.Add("a");
  for (const auto& n : names) {
    const char* s = n[0];
    const char* k = n[1];
    EXPECT_FALSE(m_ini.WriteString(s, k, "v"));
    EXPECT_FALSE(m_ini.WriteInt(s, k, 1));
    EXPECT_FALSE(m_ini.WriteBool(s, k, true));
    EXPECT_FALSE(m_ini.WriteDouble(s, k, 1.0));
    EXPECT_FALSE(m_ini.WriteDataBlock(s, k, &byte, 1));
    EXPECT_FALSE(m_ini.WriteArray(s, k, &list));
    EXPECT_FALSE(m_ini.AppendString(s, k, "x"));
    EXPECT_FALSE(m_ini.DeleteKey(s, k));
    EXPECT_EQ(m_ini.GetString(s, k, "d"), "d");
    EXPECT_EQ(m_ini.GetInt(s, k, 42), 42);
    EXPECT_TRUE(m_ini.GetBool(s, k, true));
    EXPECT_FALSE(m_ini.IsKeyExist(s, k));
  }
  EXPECT_FALSE(m_ini.DeleteSection(nullptr));
  EXPECT_FALSE(m_ini.IsSectionExist(nullptr));
  EXPECT_EQ(EntriesInDir(), 0u);  // nothing was created
}

TEST_F(IniValueTest, PathName) {
  CIni none;
  EXPECT_EQ(none.GetPathName(), "");
  CIni ini("/a/b.ini");
  char buf[5];
  EXPECT_EQ(ini.GetPathName(buf, 5), 8);
  EXPECT_EQ(std::string(buf, 5), "/a/b.");
  ini.SetPathName(nullptr);
  EXPECT_EQ(ini.GetPathName(), "");
  EXPECT_EQ(ini.GetString("S", "K", "d"), "d");
  EXPECT_FALSE(ini.WriteString("S", "K", "v"));
}

}  // namespace
}  // namespace corvane
