#include "platform/CShell.h"

#include <gtest/gtest.h>

using corvane::platform::SplitParameters;

TEST(SplitParametersTest, Table) {
  struct Row { const char* text; std::vector<std::string> expected; };
  const Row rows[] = {
      {"", {}},
      {"a b", {"a", "b"}},
      {"  a   b  ", {"a", "b"}},
      {"\"1033\"", {"1033"}},
      {"\"two words\" x", {"two words", "x"}},
      {"a\"b c\"d", {"ab cd"}},
  };
  for (const Row& r : rows) EXPECT_EQ(SplitParameters(r.text), r.expected) << r.text;
}
