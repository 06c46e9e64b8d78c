#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/CFieldSplitter.h"

namespace corvane {
namespace {

std::vector<std::string> Fields(const CFieldSplitter& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.GetCount(); ++i) out.push_back(s.GetField(i));
  return out;
}

struct SplitRow {
  const char* source;
  const char* separator;
  std::vector<std::string> fields;
};

TEST(FieldSplitterTest, SplitTable) {
  const SplitRow rows[] = {
      {"", ",", {}},
      {"1033", " ", {"1033"}},
      {"a,,b", ",", {"a", "", "b"}},
      {"a,", ",", {"a", ""}},
      {",a", ",", {"", "a"}},
      {"0,1,Name,Net,mod.so", ",", {"0", "1", "Name", "Net", "mod.so"}},
      {"a::b", "::", {"a", ":b"}},  // the rest of a long separator starts the next field
      {"abc", "", {"abc"}},
      {"1 2 3", " ", {"1", "2", "3"}},
  };
  for (const SplitRow& r : rows) {
    SCOPED_TRACE(std::string(r.source) + " by '" + r.separator + "'");
    CFieldSplitter s(r.separator);
    EXPECT_EQ(s.SetString(r.source), static_cast<int>(std::string(r.source).size()));
    EXPECT_EQ(Fields(s), r.fields);
  }
}

TEST(FieldSplitterTest, OutOfRangeIndexGivesEmpty) {
  CFieldSplitter s(",");
  s.SetString("x,y,z");
  ASSERT_EQ(s.GetCount(), 3);
  EXPECT_EQ(s.GetField(5), "");
  EXPECT_EQ(s.GetField(3), "");
  EXPECT_EQ(s.GetField(-1), "");
  EXPECT_EQ(s.GetField(2), "z");
}

TEST(FieldSplitterTest, ResplitForgetsOldFields) {
  CFieldSplitter s(",");
  s.SetString("a,b,c,d");
  s.SetString("e");
  EXPECT_EQ(Fields(s), (std::vector<std::string>{"e"}));
  EXPECT_EQ(s.GetField(1), "");
  s.SetString("");
  EXPECT_EQ(s.GetCount(), 0);
}

TEST(FieldSplitterTest, NewSeparatorTakesEffectAtTheNextSplit) {
  CFieldSplitter s(",");
  s.SetString("a b,c");
  s.SetSeparator(" ");
  EXPECT_EQ(Fields(s), (std::vector<std::string>{"a b", "c"}));
  s.SetString("a b,c");
  EXPECT_EQ(Fields(s), (std::vector<std::string>{"a", "b,c"}));
}

}  // namespace
}  // namespace corvane
