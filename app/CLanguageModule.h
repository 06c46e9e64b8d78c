#pragma once
// The user-interface language in force. The program's own resources are English (1033);
// satellite languages are not offered yet, so every request selects the own language.
#include <cstdint>

namespace corvane {

class CLanguageModule {
public:
  static constexpr std::uint16_t kOwnLanguage = 1033;

  // Start-up selection; the stored language is recorded but only the own resources exist.
  bool Initialize(std::uint16_t storedLanguage);

  std::uint16_t OwnLanguage() const { return m_wOwnLanguage; }
  std::uint16_t Current() const { return m_wCurrent; }
  std::uint16_t Requested() const { return m_wRequested; }

private:
  std::uint16_t m_wOwnLanguage = kOwnLanguage;
  std::uint16_t m_wCurrent = kOwnLanguage;
  std::uint16_t m_wRequested = 0;
};

}  // namespace corvane
