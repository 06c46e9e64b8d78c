#include "app/CRunLanguage.h"

#include "app/CLinkPreset.h"

namespace corvane {

void CRunLanguage::TakeFromField(const std::string& field1) {
  m_nSavedLanguageID = m_profile.GetProfileInt("", "LanguageID", 1033);
  m_profile.WriteProfileInt("", "LanguageID", FieldToInt(field1));
}

int CRunLanguage::ReadLanguageId() const { return m_profile.GetProfileInt("", "LanguageID", 1033); }

void CRunLanguage::Restore() {
  if (m_nSavedLanguageID != 0) m_profile.WriteProfileInt("", "LanguageID", m_nSavedLanguageID);
}

}  // namespace corvane
