#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "settings/meStringArray.h"

namespace corvane {
namespace {

meStringArray Of(const std::vector<std::string>& items) {
  meStringArray a;
  for (const std::string& s : items) a.Add(s);
  return a;
}

TEST(StringArrayTest, SetAtChecksTheIndex) {
  meStringArray a = Of({"a", "b"});
  a.SetAt(1, "B");
  EXPECT_EQ(a.GetAt(1), "B");
  for (int bad : {-1, 2, 100}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(a.SetAt(bad, "x"), std::invalid_argument);
    EXPECT_THROW(a.GetAt(bad), std::invalid_argument);
    EXPECT_THROW(a.RemoveAt(bad), std::invalid_argument);
  }
  EXPECT_THROW(meStringArray().SetAt(0, "x"), std::invalid_argument);
  EXPECT_EQ(a.Items(), (std::vector<std::string>{"a", "B"}));
}

TEST(StringArrayTest, UpperBoundAndEditing) {
  meStringArray a;
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.Add("x"), 0);
  EXPECT_EQ(a.Add("z"), 1);
  a.InsertAt(1, "y");
  a.InsertAt(3, "end");
  EXPECT_THROW(a.InsertAt(5, "no"), std::invalid_argument);
  EXPECT_EQ(a.GetUpperBound(), 3);
  a.RemoveAt(0);
  EXPECT_EQ(a.Items(), (std::vector<std::string>{"y", "z", "end"}));
}

TEST(StringArrayTest, FindIsExactAndFirst) {
  const meStringArray a = Of({"Abc", "abc", "x", "abc"});
  EXPECT_EQ(a.Find("abc"), 1);
  EXPECT_EQ(a.Find("ABC"), -1);
  EXPECT_EQ(a.Find(""), -1);
}

struct MultiRow {
  std::string block;  // includes the terminators
  std::vector<std::string> items;
};

TEST(StringArrayTest, AddMultiStringTable) {
  const MultiRow rows[] = {
      {std::string("a\0bc\0\0", 6), {"a", "bc"}},
      {std::string("\0\0", 2), {""}},  // the first string even when empty
      {std::string("one\0\0", 5), {"one"}},
  };
  for (const MultiRow& r : rows) {
    meStringArray a = Of({"pre"});
    std::vector<std::string> expected{"pre"};
    expected.insert(expected.end(), r.items.begin(), r.items.end());
    EXPECT_EQ(a.AddMultiString(r.block.c_str()), static_cast<int>(expected.size()));
    EXPECT_EQ(a.Items(), expected);
    meStringArray b = Of({"pre"});
    b.AddMultiString(std::string_view(r.block));
    EXPECT_EQ(b.Items(), expected);
  }
  meStringArray c;
  EXPECT_EQ(c.AddMultiString(static_cast<const char*>(nullptr)), 0);
  c.AddMultiString(std::string_view("no terminator", 13));  // bounded: stops at the end
  EXPECT_EQ(c.Items(), (std::vector<std::string>{"no terminator"}));
}

TEST(StringArrayTest, MultiStringRoundTrip) {
  meStringArray a = Of({"a", "", "bc"});
  const char* multi = a.GetMultiString();
  EXPECT_EQ(std::string(multi, 7), std::string("a\0\0bc\0\0", 7));
  meStringArray empty;
  const char* none = empty.GetMultiString();
  EXPECT_EQ(none[0], '\0');
  meStringArray b;
  b.AddMultiString(Of({"x", "y"}).GetMultiString());
  EXPECT_EQ(b.Items(), (std::vector<std::string>{"x", "y"}));
}

TEST(StringArrayTest, SortNoCaseTable) {
  struct Row {
    std::vector<std::string> in, out;
  } rows[] = {
      {{"b", "A", "c"}, {"A", "b", "c"}},
      {{"beta", "Alpha", "alpha", "ALPHA"}, {"Alpha", "alpha", "ALPHA", "beta"}},  // equal ones keep order
      {{"ab", "a", "B"}, {"a", "ab", "B"}},
      {{}, {}},
      {{"Z", "a", "_"}, {"_", "a", "Z"}},  // letters fold to lower case before comparing
  };
  for (const Row& r : rows) {
    meStringArray a = Of(r.in);
    a.SortNoCase();
    EXPECT_EQ(a.Items(), r.out);
  }
}

}  // namespace
}  // namespace corvane
