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
  // At exit: writes back the replaced value, even when that was 0. A language the user
  // chose during the run (the stored value no longer the run's) is kept for the next start.
  void Restore();

  int SavedLanguageId() const { return m_nSavedLanguageID; }

private:
  platform::CProfileStore& m_profile;
  int m_nSavedLanguageID = 0;
  int m_nRunLanguageID = 0;
  bool m_bReplaced = false;  // a stored 0 is a value to restore, not "nothing replaced"
};

}  // namespace corvane
