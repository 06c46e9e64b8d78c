#include "app/CLanguageModule.h"

namespace corvane {

bool CLanguageModule::Initialize(std::uint16_t storedLanguage) {
  m_wRequested = storedLanguage;
  m_wCurrent = m_wOwnLanguage;
  return true;
}

}  // namespace corvane
