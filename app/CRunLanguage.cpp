#include "app/CRunLanguage.h"

#include "app/CLinkPreset.h"

namespace corvane {

void CRunLanguage::TakeFromField(const std::string& field1) {
  m_nSavedLanguageID = m_profile.GetProfileInt("", "LanguageID", 1033);
  m_nRunLanguageID = FieldToInt(field1);
  m_bReplaced = m_profile.WriteProfileInt("", "LanguageID", m_nRunLanguageID);
}

int CRunLanguage::ReadLanguageId() const { return m_profile.GetProfileInt("", "LanguageID", 1033); }

void CRunLanguage::Restore() {
  if (!m_bReplaced) return;
  m_bReplaced = false;
  if (m_profile.GetProfileInt("", "LanguageID", m_nRunLanguageID) != m_nRunLanguageID) return;
  m_profile.WriteProfileInt("", "LanguageID", m_nSavedLanguageID);
}

}  // namespace corvane
