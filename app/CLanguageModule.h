#pragma once
// The user-interface language: the program's own resources (English) or a satellite beside the
// executable named after it and the language's abbreviation (corvaneCHT.qm). The choice is the
// profile value "LanguageID" and takes effect at the next start.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "resources/CResourceModule.h"

namespace corvane {
namespace platform {
class CProfileStore;
class CUiLanguages;
}  // namespace platform

// A loaded satellite: its texts replace the program's own while it is current.
class ISatellite : public IResourceModule {};

// How satellite files are read; the Qt edge reads translation files, tests may fake them.
class ISatelliteLoader {
public:
  virtual ~ISatelliteLoader() = default;
  // Null when the file does not load.
  virtual std::unique_ptr<ISatellite> Load(const std::string& path) = 0;
  // The language the file declares; 0 when it declares none or does not load.
  virtual std::uint16_t LanguageOf(const std::string& path) = 0;
  // Makes the satellite the resources of the whole program; null: the program's own.
  virtual void MakeCurrent(ISatellite* satellite) = 0;
};

struct LanguageMenuItem {
  unsigned id;        // 28416 + index
  std::string text;   // "Chinese (CHT)"
};

struct LanguageMenu {
  std::vector<LanguageMenuItem> items;
  unsigned checked = 0;  // the command carrying the radio mark; 0 for none
};

class CLanguageModule {
public:
  static constexpr std::uint16_t kOwnLanguage = 1033;
  static constexpr unsigned kFirstCommand = 28416;
  static constexpr unsigned kLastCommand = 28671;
  static constexpr unsigned kRestartMessage = 500;

  explicit CLanguageModule(std::uint16_t ownLanguage = kOwnLanguage);
  ~CLanguageModule();
  CLanguageModule(const CLanguageModule&) = delete;
  CLanguageModule& operator=(const CLanguageModule&) = delete;

  // Where satellites lie and what the selection reads; none of them is owned. Without a
  // loader no satellite ever loads; without locale queries those tries give 0.
  void SetExecutablePath(std::string path) { m_strExePath = std::move(path); }
  void SetProfile(platform::CProfileStore* profile) { m_pProfile = profile; }
  void SetLoader(ISatelliteLoader* loader) { m_pLoader = loader; }
  void SetUiLanguages(const platform::CUiLanguages* languages) { m_pUiLanguages = languages; }

  // Start-up selection: stored, user UI, system UI, user locale, system locale, own language.
  bool Initialize();
  // The best satellite for Current(), falling back to the primary language and its default.
  bool LoadLanguage();
  // Exactly the satellite of Current().
  bool LoadSatellite();
  void UnloadSatellite();
  void EnumLanguages();
  std::string GetLanguageName(std::uint16_t language) const;
  // Rebuilds the list and the submenu of command 15302.
  LanguageMenu FillLanguageMenu();
  // Records the language of command nID; the restart message comes from the chosen language.
  void SelectLanguage(unsigned nID, bool bReloadNow);

  // <executable without extension><abbreviation>.qm; empty when the language has no abbreviation.
  std::string SatelliteFileName(std::uint16_t language) const;

  std::uint16_t OwnLanguage() const { return m_wOwnLanguage; }
  std::uint16_t Current() const { return m_wCurrent; }
  void SetCurrent(std::uint16_t language) { m_wCurrent = language; }
  const std::vector<std::uint16_t>& Languages() const { return m_aLanguages; }
  bool HasSatellite() const { return m_hSatellite != nullptr; }

private:
  std::string ExeStem() const;

  std::vector<std::uint16_t> m_aLanguages;
  std::uint16_t m_wOwnLanguage;
  std::uint16_t m_wCurrent = 0;
  std::unique_ptr<ISatellite> m_hSatellite;
  std::string m_strExePath;
  platform::CProfileStore* m_pProfile = nullptr;
  ISatelliteLoader* m_pLoader = nullptr;
  const platform::CUiLanguages* m_pUiLanguages = nullptr;
};

}  // namespace corvane
