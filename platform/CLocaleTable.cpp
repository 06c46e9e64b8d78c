#include "platform/CLocaleTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace corvane::platform {
namespace {

// The first row of a language is the one a bare language name ("zh", "es") stands for.
constexpr std::array kLocales{
    LocaleInfo{1033, "ENU", "English", "English", 1252, "en_US"},
    LocaleInfo{2052, "CHS", "Chinese", "中文(简体)", 936, "zh_CN"},
    LocaleInfo{1028, "CHT", "Chinese", "中文(繁體)", 950, "zh_TW"},
    LocaleInfo{1041, "JPN", "Japanese", "日本語", 932, "ja_JP"},
    LocaleInfo{1042, "KOR", "Korean", "한국어", 949, "ko_KR"},
    LocaleInfo{1031, "DEU", "German", "Deutsch", 1252, "de_DE"},
    LocaleInfo{1036, "FRA", "French", "français", 1252, "fr_FR"},
    LocaleInfo{3082, "ESN", "Spanish", "español", 1252, "es_ES"},
    LocaleInfo{1040, "ITA", "Italian", "italiano", 1252, "it_IT"},
    LocaleInfo{1046, "PTB", "Portuguese", "português", 1252, "pt_BR"},
    LocaleInfo{1049, "RUS", "Russian", "русский", 1251, "ru_RU"},
    LocaleInfo{1025, "ARA", "Arabic", "العربية", 1256, "ar_SA"},
    LocaleInfo{1026, "BGR", "Bulgarian", "български", 1251, "bg_BG"},
    LocaleInfo{1027, "CAT", "Catalan", "català", 1252, "ca_ES"},
    LocaleInfo{1029, "CSY", "Czech", "čeština", 1250, "cs_CZ"},
    LocaleInfo{1030, "DAN", "Danish", "dansk", 1252, "da_DK"},
    LocaleInfo{1032, "ELL", "Greek", "Ελληνικά", 1253, "el_GR"},
    LocaleInfo{1035, "FIN", "Finnish", "suomi", 1252, "fi_FI"},
    LocaleInfo{1037, "HEB", "Hebrew", "עברית", 1255, "he_IL"},
    LocaleInfo{1038, "HUN", "Hungarian", "magyar", 1250, "hu_HU"},
    LocaleInfo{1039, "ISL", "Icelandic", "íslenska", 1252, "is_IS"},
    LocaleInfo{1043, "NLD", "Dutch", "Nederlands", 1252, "nl_NL"},
    LocaleInfo{1044, "NOR", "Norwegian", "norsk (bokmål)", 1252, "nb_NO"},
    LocaleInfo{1045, "PLK", "Polish", "polski", 1250, "pl_PL"},
    LocaleInfo{1048, "ROM", "Romanian", "română", 1250, "ro_RO"},
    LocaleInfo{1050, "HRV", "Croatian", "hrvatski", 1250, "hr_HR"},
    LocaleInfo{1051, "SKY", "Slovak", "slovenčina", 1250, "sk_SK"},
    LocaleInfo{1053, "SVE", "Swedish", "svenska", 1252, "sv_SE"},
    LocaleInfo{1054, "THA", "Thai", "ไทย", 874, "th_TH"},
    LocaleInfo{1055, "TRK", "Turkish", "Türkçe", 1254, "tr_TR"},
    LocaleInfo{1057, "IND", "Indonesian", "Bahasa Indonesia", 1252, "id_ID"},
    LocaleInfo{1058, "UKR", "Ukrainian", "українська", 1251, "uk_UA"},
    LocaleInfo{1060, "SLV", "Slovenian", "slovenščina", 1250, "sl_SI"},
    LocaleInfo{1061, "ETI", "Estonian", "eesti", 1257, "et_EE"},
    LocaleInfo{1062, "LVI", "Latvian", "latviešu", 1257, "lv_LV"},
    LocaleInfo{1063, "LTH", "Lithuanian", "lietuvių", 1257, "lt_LT"},
    LocaleInfo{1065, "FAR", "Persian", "فارسی", 1256, "fa_IR"},
    LocaleInfo{1066, "VIT", "Vietnamese", "Tiếng Việt", 1258, "vi_VN"},
    LocaleInfo{1067, "HYE", "Armenian", "Հայերեն", 0, "hy_AM"},
    LocaleInfo{1079, "KAT", "Georgian", "ქართული", 0, "ka_GE"},
    LocaleInfo{1081, "HIN", "Hindi", "हिन्दी", 0, "hi_IN"},
    LocaleInfo{1086, "MSL", "Malay", "Bahasa Melayu", 1252, "ms_MY"},
    LocaleInfo{1087, "KKZ", "Kazakh", "Қазақ", 1251, "kk_KZ"},
    LocaleInfo{1124, "FPO", "Filipino", "Filipino", 1252, "fil_PH"},
    // Country variants.
    LocaleInfo{3076, "ZHH", "Chinese", "中文(香港特別行政區)", 950, "zh_HK"},
    LocaleInfo{4100, "ZHI", "Chinese", "中文(新加坡)", 936, "zh_SG"},
    LocaleInfo{5124, "ZHM", "Chinese", "中文(澳門特別行政區)", 950, "zh_MO"},
    LocaleInfo{2057, "ENG", "English", "English (United Kingdom)", 1252, "en_GB"},
    LocaleInfo{3081, "ENA", "English", "English (Australia)", 1252, "en_AU"},
    LocaleInfo{4105, "ENC", "English", "English (Canada)", 1252, "en_CA"},
    LocaleInfo{5129, "ENZ", "English", "English (New Zealand)", 1252, "en_NZ"},
    LocaleInfo{6153, "ENI", "English", "English (Ireland)", 1252, "en_IE"},
    LocaleInfo{2055, "DES", "German", "Deutsch (Schweiz)", 1252, "de_CH"},
    LocaleInfo{3079, "DEA", "German", "Deutsch (Österreich)", 1252, "de_AT"},
    LocaleInfo{2060, "FRB", "French", "français (Belgique)", 1252, "fr_BE"},
    LocaleInfo{3084, "FRC", "French", "français (Canada)", 1252, "fr_CA"},
    LocaleInfo{4108, "FRS", "French", "français (Suisse)", 1252, "fr_CH"},
    LocaleInfo{1034, "ESP", "Spanish", "español (alfabetización tradicional)", 1252, ""},
    LocaleInfo{2058, "ESM", "Spanish", "español (México)", 1252, "es_MX"},
    LocaleInfo{11274, "ESS", "Spanish", "español (Argentina)", 1252, "es_AR"},
    LocaleInfo{2064, "ITS", "Italian", "italiano (Svizzera)", 1252, "it_CH"},
    LocaleInfo{2067, "NLB", "Dutch", "Nederlands (België)", 1252, "nl_BE"},
    LocaleInfo{2068, "NON", "Norwegian", "norsk (nynorsk)", 1252, "nn_NO"},
    LocaleInfo{2070, "PTG", "Portuguese", "português (Portugal)", 1252, "pt_PT"},
};

constexpr std::size_t kMaxLocaleName = 64;
constexpr std::size_t kMaxSystemFile = 64 * 1024;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

const LocaleInfo* FindPosix(const std::string& name) {
  for (const LocaleInfo& l : kLocales)
    if (name == l.posixName) return &l;
  return nullptr;
}

const LocaleInfo* FirstOfLanguage(const std::string& language) {
  const std::string prefix = language + "_";
  for (const LocaleInfo& l : kLocales)
    if (std::string_view(l.posixName).starts_with(prefix)) return &l;
  return nullptr;
}

bool ValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n;
  }
  return true;
}

std::string Unquote(std::string v) {
  while (!v.empty() && (v.back() == '\r' || v.back() == ' ' || v.back() == '\t')) v.pop_back();
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

const LocaleInfo* CLocaleTable::Find(std::uint16_t id) {
  for (const LocaleInfo& l : kLocales)
    if (l.id == id) return &l;
  return nullptr;
}

std::uint16_t CLocaleTable::FromLocaleName(std::string_view name) {
  if (name.size() > kMaxLocaleName) return 0;
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return 0;
  std::string language;
  std::string script;
  std::string region;
  std::size_t start = 0;
  for (int part = 0; start <= name.size(); ++part) {
    const std::size_t end = std::min(name.find_first_of("_-", start), name.size());
    const std::string_view piece = name.substr(start, end - start);
    if (part == 0) language = Lower(piece);
    else if (piece.size() == 4) script = Lower(piece);
    else if (region.empty()) region = Upper(piece);
    start = end + 1;
  }
  if (language == "no") language = "nb";
  if (!region.empty())
    if (const LocaleInfo* l = FindPosix(language + "_" + region)) return l->id;
  if (language == "zh" && script == "hant") return 1028;
  if (language == "zh" && script == "hans") return 2052;
  if (const LocaleInfo* l = FirstOfLanguage(language)) return l->id;
  return 0;
}

std::string CLocaleTable::Abbreviation(std::uint16_t id) {
  const LocaleInfo* l = Find(id);
  return l ? l->abbreviation : "";
}

std::string CLocaleTable::EnglishName(std::uint16_t id) {
  const LocaleInfo* l = Find(id);
  return l ? l->englishName : "";
}

std::string CLocaleTable::NativeName(std::uint16_t id) {
  const LocaleInfo* l = Find(id);
  return l ? l->nativeName : "";
}

unsigned CLocaleTable::AnsiCodePage(std::uint16_t id) {
  const LocaleInfo* l = Find(id);
  return l ? l->ansiCodePage : 0;
}

// The program's narrow set is UTF-8, which holds every character: only a language without
// an ANSI code page, or text that is not UTF-8 at all, fails the round trip.
bool CLocaleTable::ShowsInCurrentCodePage(const std::string& text, unsigned codePage) {
  return codePage != 0 && ValidUtf8(text);
}

CUiLanguages::CUiLanguages()
    : CUiLanguages([](const char* name) { return static_cast<const char*>(std::getenv(name)); }, "") {}

CUiLanguages::CUiLanguages(Getenv getenv, std::string systemLocaleFile)
    : m_getenv(std::move(getenv)), m_systemFile(std::move(systemLocaleFile)) {
  if (m_systemFile.empty()) {
    m_systemFile = "/etc/default/locale";
    if (!std::ifstream(m_systemFile)) m_systemFile = "/etc/locale.conf";
  }
}

std::uint16_t CUiLanguages::FromVariable(const char* name) const {
  const char* value = m_getenv ? m_getenv(name) : nullptr;
  return value ? CLocaleTable::FromLocaleName(value) : 0;
}

std::uint16_t CUiLanguages::FromSystemFile(const char* key) const {
  // Only the head of the file is read: a locale file is a few lines.
  std::ifstream in(m_systemFile, std::ios::binary);
  std::string text(kMaxSystemFile, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  const std::string prefix = std::string(key) + "=";
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view rest(text.data() + start, end - start);
    start = end + 1;
    const std::size_t first = rest.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    rest.remove_prefix(first);
    if (rest.starts_with("export ")) rest.remove_prefix(7);
    if (rest.starts_with(prefix))
      return CLocaleTable::FromLocaleName(Unquote(std::string(rest.substr(prefix.size()))));
  }
  return 0;
}

std::uint16_t CUiLanguages::UserUiLanguage() const {
  if (const char* list = m_getenv ? m_getenv("LANGUAGE") : nullptr) {
    std::string_view rest(list);
    if (rest.size() > 16 * kMaxLocaleName) rest = rest.substr(0, 16 * kMaxLocaleName);
    while (!rest.empty()) {
      const std::size_t colon = std::min(rest.find(':'), rest.size());
      if (std::uint16_t id = CLocaleTable::FromLocaleName(rest.substr(0, colon))) return id;
      rest.remove_prefix(std::min(colon + 1, rest.size()));
    }
  }
  // Like gettext: the first of these that is set decides, even when it names no language.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = m_getenv ? m_getenv(name) : nullptr;
    if (value && *value) return CLocaleTable::FromLocaleName(value);
  }
  return 0;
}

std::uint16_t CUiLanguages::SystemUiLanguage() const {
  if (std::uint16_t id = FromSystemFile("LC_MESSAGES")) return id;
  return FromSystemFile("LANG");
}

std::uint16_t CUiLanguages::UserDefaultLocale() const {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = m_getenv ? m_getenv(name) : nullptr;
    if (value && *value) return CLocaleTable::FromLocaleName(value);
  }
  return 0;
}

std::uint16_t CUiLanguages::SystemDefaultLocale() const { return FromSystemFile("LANG"); }

}  // namespace corvane::platform
