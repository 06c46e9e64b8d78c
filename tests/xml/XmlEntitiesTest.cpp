// The entity table, value decoding and the UTF-8 helpers.
#include <gtest/gtest.h>

#include <string>

#include "widgets/CHtmlEntities.h"
#include "widgets/CUtf8.h"
#include "widgets/CXmlNavigator.h"

namespace corvane {
namespace {

TEST(HtmlEntities, TableIsCompleteAndSorted) {
  std::size_t count = 0;
  std::string_view previous;
  for (; !CHtmlEntities::NameAt(count).empty(); ++count) {
    const std::string_view name = CHtmlEntities::NameAt(count);
    if (count > 0) {
      EXPECT_LT(previous, name) << name;
    }
    EXPECT_TRUE(CHtmlEntities::Lookup(name).has_value()) << name;
    EXPECT_LE(name.size(), CHtmlEntities::kMaxNameLength);
    previous = name;
  }
  EXPECT_EQ(count, 252u);
}

struct EntityRow {
  const char* name;
  char32_t code;
};

TEST(HtmlEntities, KnownCodes) {
  const EntityRow rows[] = {
      {"nbsp", 0xA0},    {"yuml", 0xFF},   {"AElig", 0xC6},    {"eacute", 0xE9},   {"Eacute", 0xC9},
      {"fnof", 0x192},   {"Omega", 0x3A9}, {"sigmaf", 0x3C2},  {"thetasym", 0x3D1}, {"piv", 0x3D6},
      {"hellip", 0x2026}, {"image", 0x2111}, {"alefsym", 0x2135}, {"crarr", 0x21B5}, {"hArr", 0x21D4},
      {"and", 0x2227},   {"sdot", 0x22C5}, {"lang", 0x2329},   {"loz", 0x25CA},    {"diams", 0x2666},
      {"quot", 0x22},    {"amp", 0x26},    {"OElig", 0x152},   {"Yuml", 0x178},    {"tilde", 0x2DC},
      {"zwnj", 0x200C},  {"permil", 0x2030}, {"rsaquo", 0x203A}, {"euro", 0x20AC},
  };
  for (const auto& row : rows) {
    auto code = CHtmlEntities::Lookup(row.name);
    ASSERT_TRUE(code.has_value()) << row.name;
    EXPECT_EQ(static_cast<std::uint32_t>(*code), static_cast<std::uint32_t>(row.code)) << row.name;
  }
  for (const char* absent : {"", "EURO", "apos", "nbs", "nbspx", "Sigmaf", "thetasymx"})
    EXPECT_FALSE(CHtmlEntities::Lookup(absent).has_value()) << absent;
}

struct DecodeRow {
  const char* raw;
  const char* decoded;
};

TEST(XmlValueDecoding, Table) {
  const DecodeRow rows[] = {
      {"", ""},
      {"plain", "plain"},
      {"a&amp;b", "a&b"},
      {"&lt;&gt;&quot;&apos;", "<>\"'"},
      {"&amp;amp;", "&amp;"},              // decoded once only
      {"&eacute;t&eacute;", "\xC3\xA9t\xC3\xA9"},
      {"&nbsp;", "\xC2\xA0"},
      {"&euro;", "\xE2\x82\xAC"},
      {"&#65;&#x42;&#X43;&#x00000044;", "ABCD"},
      {"&#x1F600;", "\xF0\x9F\x98\x80"},
      {"&#233;", "\xC3\xA9"},
      {"&#0;", "&#0;"},                    // no NUL in narrow text
      {"&#xD800;", "&#xD800;"},            // a surrogate is no character
      {"&#x110000;", "&#x110000;"},
      {"&#99999999999999999999;", "&#99999999999999999999;"},
      {"&#;", "&#;"},
      {"&#x;", "&#x;"},
      {"&#65", "&#65"},
      {"&unknown;", "&unknown;"},
      {"&EURO;", "&EURO;"},                // names are case-sensitive
      {"&amp", "&amp"},
      {"&", "&"},
      {"a & b", "a & b"},
      {"&&amp;", "&&"},
      {"&thetasym;", "\xCF\x91"},
      {"&thetasymx;", "&thetasymx;"},
  };
  for (const auto& row : rows) EXPECT_EQ(CXmlNavigator::DecodeValue(row.raw), row.decoded) << row.raw;
}

TEST(Utf8, AppendEncodesEveryLengthAndReplacesNonScalars) {
  std::string out;
  for (char32_t cp : {char32_t(0x41), char32_t(0x7FF), char32_t(0xFFFF), char32_t(0x10FFFF), char32_t(0xDC00),
                      char32_t(0x110000)})
    CUtf8::Append(out, cp);
  EXPECT_EQ(out, "A\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xEF\xBF\xBD\xEF\xBF\xBD");
}

struct Utf16Row {
  std::string bytes;
  std::string utf8;
};

TEST(Utf8, FromUtf16LeTable) {
  const Utf16Row rows[] = {
      {"", ""},
      {std::string("A\0", 2), "A"},
      {std::string("\xE9\0", 2), "\xC3\xA9"},
      {"\xAC\x20", "\xE2\x82\xAC"},
      {std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80"},                      // a surrogate pair
      {std::string("\x3D\xD8" "A\0", 4), "\xEF\xBF\xBD" "A"},        // high half without low half
      {std::string("\x00\xDE", 2), "\xEF\xBF\xBD"},                                  // lone low half
      {"\x3D\xD8", "\xEF\xBF\xBD"},                                  // high half at the end
      {std::string("A\0B", 3), "A\xEF\xBF\xBD"},                     // odd trailing byte
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CUtf8::FromUtf16Le(reinterpret_cast<const unsigned char*>(row.bytes.data()), row.bytes.size()),
              row.utf8);
  }
}

TEST(Utf8, SequenceLengthTable) {
  const struct {
    std::string bytes;
    std::size_t length;
  } rows[] = {
      {"A", 1},
      {"\xC3\xA9", 2},
      {"\xE2\x82\xAC", 3},
      {"\xF0\x9F\x98\x80", 4},
      {"\xC3", 0},              // cut short
      {"\xC0\xAF", 0},          // overlong "/"
      {"\xE0\x80\xAF", 0},      // overlong, three bytes
      {"\xED\xA0\x80", 0},      // a surrogate
      {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
      {"\x80", 0},              // a continuation byte alone
      {"\xFF", 0},
      {"\xC3\x28", 0},          // second byte no continuation
  };
  for (const auto& row : rows) EXPECT_EQ(CUtf8::SequenceLength(row.bytes.data(), row.bytes.size()), row.length);
  EXPECT_EQ(CUtf8::SequenceLength("", 0), 0u);
}

}  // namespace
}  // namespace corvane
