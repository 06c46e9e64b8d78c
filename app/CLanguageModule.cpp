#include "app/CLanguageModule.h"

#include <dirent.h>

#include "platform/CLocaleTable.h"
#include "platform/CProfileStore.h"
#include "platform/IPrompts.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

constexpr const char* kSatelliteSuffix = ".qm";
constexpr std::size_t kAbbreviationLength = 3;  // the locale database's buffer holds 3 and a zero
constexpr std::size_t kMaxOffered = CLanguageModule::kLastCommand - CLanguageModule::kFirstCommand + 1;

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ReplaceInsert(std::string text, const std::string& insert) {
  const auto at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, insert);
  return text;
}

}  // namespace

CLanguageModule::CLanguageModule(std::uint16_t ownLanguage) : m_wOwnLanguage(ownLanguage) {}

CLanguageModule::~CLanguageModule() { UnloadSatellite(); }

std::string CLanguageModule::ExeStem() const {
  const auto slash = m_strExePath.rfind('/');
  const auto dot = m_strExePath.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) return m_strExePath.substr(0, dot);
  return m_strExePath;
}

std::string CLanguageModule::SatelliteFileName(std::uint16_t language) const {
  std::string abbreviation = platform::CLocaleTable::Abbreviation(language);
  if (abbreviation.empty() || m_strExePath.empty()) return {};
  abbreviation.resize(std::min(abbreviation.size(), kAbbreviationLength));
  return ExeStem() + abbreviation + kSatelliteSuffix;
}

bool CLanguageModule::Initialize() {
  std::uint16_t tries[6] = {};
  if (m_pProfile) {
    const int stored = m_pProfile->GetProfileInt("", "LanguageID", 0);
    tries[0] = stored > 0 && stored <= 0xFFFF ? static_cast<std::uint16_t>(stored) : 0;
  }
  if (m_pUiLanguages) {
    tries[1] = m_pUiLanguages->UserUiLanguage();
    tries[2] = m_pUiLanguages->SystemUiLanguage();
    tries[3] = m_pUiLanguages->UserDefaultLocale();
    tries[4] = m_pUiLanguages->SystemDefaultLocale();
  }
  tries[5] = m_wOwnLanguage;
  bool ok = false;
  for (std::uint16_t language : tries) {
    m_wCurrent = language;
    ok = LoadLanguage();
    if (ok) break;
  }
  return ok;
}

bool CLanguageModule::LoadLanguage() {
  const std::uint16_t language = m_wCurrent;
  if (language == 0) return false;
  if (LoadSatellite()) return true;
  const std::uint16_t primary = language & 0x3FF;
  const unsigned sub = language >> 10;
  if (sub != 0) {
    m_wCurrent = primary;
    if (LoadSatellite()) return true;
  }
  if (sub == 1) return false;
  m_wCurrent = static_cast<std::uint16_t>(primary | 0x400);
  return LoadSatellite();
}

bool CLanguageModule::LoadSatellite() {
  if (m_wCurrent == m_wOwnLanguage) {
    UnloadSatellite();
    return true;
  }
  const std::string file = SatelliteFileName(m_wCurrent);
  if (file.empty() || !m_pLoader) return false;
  std::unique_ptr<ISatellite> satellite = m_pLoader->Load(file);
  if (!satellite) return false;
  // The new module is current before the old one goes, so no text is ever looked up in freed memory.
  m_pLoader->MakeCurrent(satellite.get());
  m_hSatellite = std::move(satellite);
  return true;
}

void CLanguageModule::UnloadSatellite() {
  if (m_pLoader) m_pLoader->MakeCurrent(nullptr);
  m_hSatellite.reset();
}

void CLanguageModule::EnumLanguages() {
  m_aLanguages.clear();
  if (m_wOwnLanguage != 0) m_aLanguages.push_back(m_wOwnLanguage);
  if (m_strExePath.empty() || !m_pLoader) return;
  const std::string folder = FolderOf(m_strExePath);
  const std::string stem = ExeStem();
  const std::string prefix = stem.substr(stem.rfind('/') == std::string::npos ? 0 : stem.rfind('/') + 1);
  const std::size_t wanted = prefix.size() + kAbbreviationLength + std::char_traits<char>::length(kSatelliteSuffix);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.size() != wanted || !name.starts_with(prefix) || !name.ends_with(kSatelliteSuffix)) continue;
    if (const std::uint16_t language = m_pLoader->LanguageOf(folder + "/" + std::string(name)))
      m_aLanguages.push_back(language);
  }
  ::closedir(dir);
}

std::string CLanguageModule::GetLanguageName(std::uint16_t language) const {
  using platform::CLocaleTable;
  const unsigned codePage = CLocaleTable::AnsiCodePage(language);
  const std::string english = CLocaleTable::EnglishName(language);
  const std::string text = english + " (" + CLocaleTable::Abbreviation(language) + ")";
  if (!english.empty() && CLocaleTable::ShowsInCurrentCodePage(english, codePage)) return text;
  const std::string native = CLocaleTable::NativeName(language);
  if (!native.empty()) return native;
  return std::to_string(language) + " - ???";
}

LanguageMenu CLanguageModule::FillLanguageMenu() {
  EnumLanguages();
  LanguageMenu menu;
  for (std::size_t i = 0; i < m_aLanguages.size() && i < kMaxOffered; ++i) {
    const unsigned id = kFirstCommand + static_cast<unsigned>(i);
    menu.items.push_back({id, GetLanguageName(m_aLanguages[i])});
    if (m_aLanguages[i] == m_wCurrent) menu.checked = id;
  }
  return menu;
}

void CLanguageModule::SelectLanguage(unsigned nID, bool bReloadNow) {
  if (nID < kFirstCommand) return;
  const std::size_t i = nID - kFirstCommand;
  if (i >= m_aLanguages.size() || i >= kMaxOffered) return;
  const std::uint16_t chosen = m_aLanguages[i];
  if (m_pProfile) m_pProfile->WriteProfileInt("", "LanguageID", chosen);
  if (bReloadNow) {
    Initialize();
    return;
  }
  // The module in force stays current until the chosen one loads, and comes back afterwards
  // as it is, even when its file went away meanwhile: the running interface never changes.
  const std::uint16_t saved = m_wCurrent;
  std::unique_ptr<ISatellite> kept = std::move(m_hSatellite);
  m_wCurrent = chosen;
  if (!LoadLanguage() && m_pLoader) m_pLoader->MakeCurrent(kept.get());
  const std::string text = ReplaceInsert(LoadString(kRestartMessage), "Corvane");
  const std::string caption = LoadString(57344);
  if (m_pLoader) m_pLoader->MakeCurrent(kept.get());
  m_hSatellite = std::move(kept);
  m_wCurrent = saved;
  Prompts().MessageBox(text, caption, PromptButtons::Ok, PromptIcon::Information);
}

}  // namespace corvane
