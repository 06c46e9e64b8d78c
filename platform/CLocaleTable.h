#pragma once
// The locale database: language identifiers (primary language in the low 10 bits, sub-language
// above) with the three-letter abbreviation that satellites are named by, the English and the
// native name, the default ANSI code page (0 for languages that have none) and the POSIX
// locale name that maps to them.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvane::platform {

struct LocaleInfo {
  std::uint16_t id;
  const char* abbreviation;  // "CHT"
  const char* englishName;   // "Chinese"
  const char* nativeName;    // UTF-8
  unsigned ansiCodePage;     // 950; 0: Unicode only
  const char* posixName;     // "zh_TW"
};

class CLocaleTable {
public:
  // Null for an identifier the table does not know.
  static const LocaleInfo* Find(std::uint16_t id);
  // "zh_TW.UTF-8@euro", "zh-TW", "de" -> identifier; a bare language takes its usual country.
  // 0 for "C", "POSIX", empty or unknown names.
  static std::uint16_t FromLocaleName(std::string_view name);

  static std::string Abbreviation(std::uint16_t id);  // empty when unknown
  static std::string EnglishName(std::uint16_t id);
  static std::string NativeName(std::uint16_t id);
  static unsigned AnsiCodePage(std::uint16_t id);  // 0 when unknown

  // Whether text in codePage survives the trip to the program's narrow set (UTF-8) and back
  // without a substitute; never for code page 0.
  static bool ShowsInCurrentCodePage(const std::string& text, unsigned codePage);
};

// The user's and the system's languages, from the environment the way gettext reads it and
// from the system's default locale file.
class CUiLanguages {
public:
  using Getenv = std::function<const char*(const char*)>;

  // Defaults: ::getenv and /etc/default/locale, else /etc/locale.conf.
  CUiLanguages();
  CUiLanguages(Getenv getenv, std::string systemLocaleFile);

  // First known entry of LANGUAGE, then LC_ALL, LC_MESSAGES, LANG.
  std::uint16_t UserUiLanguage() const;
  // LC_MESSAGES, else LANG of the system's default locale file.
  std::uint16_t SystemUiLanguage() const;
  // LC_ALL, then LC_CTYPE, then LANG.
  std::uint16_t UserDefaultLocale() const;
  // LANG of the system's default locale file.
  std::uint16_t SystemDefaultLocale() const;

private:
  std::uint16_t FromVariable(const char* name) const;
  std::uint16_t FromSystemFile(const char* key) const;

  Getenv m_getenv;
  std::string m_systemFile;
};

}  // namespace corvane::platform
