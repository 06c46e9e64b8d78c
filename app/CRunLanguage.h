#pragma once
// A language given on the command line lasts one run: the stored "LanguageID" is
// replaced at start-up and written back at exit.
#include "platform/CProfileStore.h"

namespace corvane {

class CRunLanguage {
public:
  explicit CRunLanguage(platform::CProfileStore& profile) : m_profile(profile) {}

  // Stores field 1 as the run's language; remembers what it replaced (default 1033).
  void TakeFromField(const std::string& field1);
  // The language in force for this run (default 1033).
  int ReadLanguageId() const;
  // At exit: writes back the replaced value, if any.
  void Restore();

  int SavedLanguageId() const { return m_nSavedLanguageID; }

private:
  platform::CProfileStore& m_profile;
  int m_nSavedLanguageID = 0;
};

}  // namespace corvane
