#include "platform/CLocaleTable.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace corvane::platform {
namespace {

TEST(LocaleTableTest, LocaleNamesMapToLanguageIdentifiers) {
  const struct {
    const char* name;
    std::uint16_t id;
  } rows[] = {
      {"zh_TW.UTF-8", 1028},   {"zh_CN", 2052},      {"zh_HK.UTF-8@stroke", 3076}, {"zh-Hant", 1028},
      {"zh_Hans", 2052},       {"zh_SG", 4100},      {"zh", 2052},                 {"en", 1033},
      {"en_GB.utf8", 2057},    {"es", 3082},         {"es_MX", 2058},              {"de_CH", 2055},
      {"DE_de", 1031},         {"no_NO", 1044},      {"pt", 1046},                 {"ja_JP.eucJP", 1041},
      {"fr_LU", 1036},  // a country the table lacks: the language's usual one
      {"C", 0},                {"POSIX", 0},         {"C.UTF-8", 0},               {"", 0},
      {"xx_YY", 0},            {"_TW", 0},
  };
  for (const auto& row : rows) EXPECT_EQ(CLocaleTable::FromLocaleName(row.name), row.id) << row.name;
  EXPECT_EQ(CLocaleTable::FromLocaleName(std::string(100, 'z')), 0);
}

TEST(LocaleTableTest, AbbreviationsNameTheSatellites) {
  const std::map<std::uint16_t, std::string> expected{
      {1033, "ENU"}, {1028, "CHT"}, {2052, "CHS"}, {3076, "ZHH"}, {1041, "JPN"}, {1042, "KOR"},
      {1031, "DEU"}, {1036, "FRA"}, {3082, "ESN"}, {1040, "ITA"}, {1046, "PTB"}, {1049, "RUS"}};
  for (const auto& [id, abbreviation] : expected) EXPECT_EQ(CLocaleTable::Abbreviation(id), abbreviation) << id;
  EXPECT_EQ(CLocaleTable::Abbreviation(4), "");  // a bare primary language is no locale
  EXPECT_EQ(CLocaleTable::AnsiCodePage(1028), 950u);
  EXPECT_EQ(CLocaleTable::AnsiCodePage(1081), 0u);  // Hindi has no ANSI code page
  EXPECT_FALSE(CLocaleTable::ShowsInCurrentCodePage("Hindi", 0));
  EXPECT_TRUE(CLocaleTable::ShowsInCurrentCodePage("Chinese", 950));
  EXPECT_FALSE(CLocaleTable::ShowsInCurrentCodePage("\xff\xfe", 1252));
}

class UiLanguagesTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_file = (std::filesystem::temp_directory_path() / ("cvn-locale-" + std::to_string(::getpid()))).string();
  }
  void TearDown() override { std::remove(m_file.c_str()); }

  CUiLanguages With(std::map<std::string, std::string> env, const char* systemFile) {
    m_env = std::move(env);
    if (systemFile) std::ofstream(m_file) << systemFile;
    return CUiLanguages(
        [this](const char* name) -> const char* {
          auto it = m_env.find(name);
          return it == m_env.end() ? nullptr : it->second.c_str();
        },
        systemFile ? m_file : m_file + ".missing");
  }

  std::map<std::string, std::string> m_env;
  std::string m_file;
};

TEST_F(UiLanguagesTest, UserLanguagesFollowGettextsOrder) {
  EXPECT_EQ(With({{"LANGUAGE", "fr:de"}, {"LANG", "en_US.UTF-8"}}, nullptr).UserUiLanguage(), 1036);
  EXPECT_EQ(With({{"LANGUAGE", "xx:de_AT"}, {"LANG", "en_US"}}, nullptr).UserUiLanguage(), 3079);
  // The first of LC_ALL, LC_MESSAGES, LANG that is set decides, even "C".
  EXPECT_EQ(With({{"LC_ALL", "C"}, {"LANG", "zh_TW.UTF-8"}}, nullptr).UserUiLanguage(), 0);
  const CUiLanguages mixed = With({{"LC_MESSAGES", "ja_JP"}, {"LANG", "de_DE"}, {"LC_CTYPE", "ko_KR"}}, nullptr);
  EXPECT_EQ(mixed.UserUiLanguage(), 1041);
  EXPECT_EQ(mixed.UserDefaultLocale(), 1042);
  EXPECT_EQ(With({}, nullptr).UserUiLanguage(), 0);
}

TEST_F(UiLanguagesTest, SystemLanguagesComeFromTheDefaultLocaleFile) {
  const CUiLanguages both = With({}, "# written by the installer\nexport LANG=\"zh_CN.UTF-8\"\nLC_MESSAGES='ko_KR'\n");
  EXPECT_EQ(both.SystemUiLanguage(), 1042);
  EXPECT_EQ(both.SystemDefaultLocale(), 2052);
  const CUiLanguages langOnly = With({}, "LANG=zh_TW.UTF-8\r\n");
  EXPECT_EQ(langOnly.SystemUiLanguage(), 1028);
  const CUiLanguages none = With({{"LANG", "de_DE"}}, nullptr);
  EXPECT_EQ(none.SystemUiLanguage(), 0);
  EXPECT_EQ(none.SystemDefaultLocale(), 0);
}

}  // namespace
}  // namespace corvane::platform
