#pragma once
// The per-user profile store: HKEY_CURRENT_USER\Software\<company>\<application> in the
// registry store. An empty section means values directly under that key ("LanguageID");
// otherwise a sub-key of that name ("Settings", "Recent File List").
#include <string>

namespace corvane::platform {

class CProfileStore {
public:
  CProfileStore(std::string company = "Zelmar", std::string application = "Corvane");

  void SetRegistryKey(const std::string& company);  // the start-up sets "Zelmar"
  std::string KeyPath(const std::string& section) const;  // "Software\\Zelmar\\Corvane[\\section]"

  int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const;
  bool WriteProfileInt(const std::string& section, const std::string& key, int value);
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& defaultValue = {}) const;
  bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value);
  bool DeleteProfileValue(const std::string& section, const std::string& key);

private:
  std::string m_company;
  std::string m_application;
};

}  // namespace corvane::platform
