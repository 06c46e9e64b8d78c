#include "project/CCountedString.h"

#include <gtest/gtest.h>

#include "ProjectTestSupport.h"

namespace corvane::test {
namespace {

struct LengthForm {
  std::size_t length;
  Bytes prefix;
};
void PrintTo(const LengthForm& c, std::ostream* os) { *os << c.length; }


class CountedStringLengthForms : public ::testing::TestWithParam<LengthForm> {};

TEST_P(CountedStringLengthForms, WritesPrefixAndReadsBack) {
  const LengthForm& form = GetParam();
  const std::string text(form.length, 'x');
  Bytes out;
  ASSERT_TRUE(CCountedString::Append(out, text));
  ASSERT_EQ(out.size(), form.prefix.size() + form.length);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(form.prefix.size())), form.prefix);
  EXPECT_EQ(CCountedString::EncodedSize(form.length), out.size());

  CByteReader in(out);
  std::string back;
  ASSERT_TRUE(CCountedString::Read(in, back));
  EXPECT_EQ(back, text);
  EXPECT_EQ(in.Remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, CountedStringLengthForms,
                         ::testing::Values(LengthForm{0, {0x00}},
                                           LengthForm{254, {0xFE}},
                                           LengthForm{255, {0xFF, 0xFF, 0x00}},
                                           LengthForm{65533, {0xFF, 0xFD, 0xFF}},
                                           LengthForm{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                                           LengthForm{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}));

struct ReadCase {
  const char* label;
  Bytes bytes;
  bool ok;
  std::string text;  // expected when ok
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.label; }


class CountedStringRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CountedStringRead, DecodesOrRefuses) {
  const ReadCase& c = GetParam();
  CByteReader in(c.bytes);
  std::string out = "unchanged";
  ASSERT_EQ(CCountedString::Read(in, out), c.ok) << c.label;
  if (c.ok) {
    EXPECT_EQ(out, c.text) << c.label;
  } else {
    EXPECT_EQ(in.Offset(), 0u) << c.label;
    EXPECT_EQ(out, "unchanged") << c.label;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CountedStringRead,
    ::testing::Values(
        ReadCase{"non-shortest 16-bit form", {0xFF, 0x02, 0x00, 'o', 'k'}, true, "ok"},
        ReadCase{"non-shortest 32-bit form", {0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 'z'}, true, "z"},
        ReadCase{"wide, one-byte length", {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0xE9, 0, 0xAC, 0x20}, true,
                 "a\xC3\xA9\xE2\x82\xAC"},
        ReadCase{"wide, 16-bit length", {0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'w', 0}, true, "w"},
        ReadCase{"wide, 32-bit length", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 'q', 0}, true, "q"},
        ReadCase{"wide, surrogate pair", {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}, true,
                 "\xF0\x9F\x98\x80"},
        ReadCase{"wide, lone surrogate", {0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xDC}, true, "\xEF\xBF\xBD"},
        ReadCase{"wide, empty", {0xFF, 0xFE, 0xFF, 0x00}, true, ""},
        ReadCase{"empty input", {}, false, ""},
        ReadCase{"characters past the end", {0x05, 'a', 'b'}, false, ""},
        ReadCase{"16-bit prefix cut", {0xFF, 0x01}, false, ""},
        ReadCase{"32-bit prefix cut", {0xFF, 0xFF, 0xFF, 0x01, 0x00}, false, ""},
        ReadCase{"wide length cut", {0xFF, 0xFE, 0xFF}, false, ""},
        ReadCase{"wide odd byte short", {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}, false, ""},
        ReadCase{"claims 4 GB", {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'}, false, ""},
        ReadCase{"claims 4 GB of 0xFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false, ""},
        ReadCase{"wide claims 8 GB", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}, false, ""}),
    [](const auto& info) {
      std::string n = info.param.label;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

}  // namespace
}  // namespace corvane::test
