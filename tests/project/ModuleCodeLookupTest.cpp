#include "project/CModuleCodeLookup.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct LookupCase {
  const char* label;
  std::vector<std::string> files, codes;
  const char* title;
  std::optional<std::string> code;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.label; }

class ModuleCodeLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ModuleCodeLookup, FindsCodeAtTheSameIndex) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(CModuleCodeLookup::Find(c.files, c.codes, c.title), c.code) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModuleCodeLookup,
    ::testing::Values(LookupCase{"second entry", {"DriveA.so", "CardB.so"}, {"0203", "0A10"}, "CardB", "0A10"},
                      LookupCase{"first match wins", {"DriveA.so", "DriveA.so"}, {"0203", "0204"}, "DriveA", "0203"},
                      LookupCase{"letter case differs", {"drivea.so"}, {"0203"}, "DriveA", std::nullopt},
                      LookupCase{"not listed", {"DriveA.so"}, {"0203"}, "CardB", std::nullopt},
                      LookupCase{"title without suffix is no match", {"DriveA"}, {"0203"}, "DriveA", std::nullopt},
                      LookupCase{"codes list shorter", {"X.so", "DriveA.so"}, {"0001"}, "DriveA", std::nullopt}),
    [](const auto& info) {
      std::string n = info.param.label;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

}  // namespace
}  // namespace corvane
