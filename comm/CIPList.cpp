#include "comm/CIPList.h"

#include <sys/stat.h>

#include <algorithm>

#include "settings/CIni.h"

namespace corvane::comm {

bool CIPList::EnsureFolder(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  // mkdir makes only the last level; a file of that name makes it fail too.
  return ::mkdir(folder.c_str(), 0777) == 0;
}

void CIPList::Load(const std::string& iniPath) {
  m_list.Clear();
  CIni ini(iniPath);
  const int count = std::clamp(ini.GetInt(kSection, "IPCount", 0), 0, kMaxEntries);
  for (int i = 1; i <= count; ++i) {
    const std::string key = "IP" + std::to_string(i);
    m_list.Insert(ini.GetString(kSection, key.c_str(), ""));
  }
}

bool CIPList::Save(const std::string& iniPath) const {
  CIni ini(iniPath);
  if (ini.IsSectionExist(kSection)) ini.DeleteSection(kSection);
  bool ok = ini.WriteInt(kSection, "IPCount", m_list.Count());
  for (int i = 1; i <= m_list.Count(); ++i) {
    const std::string key = "IP" + std::to_string(i);
    ok = ini.WriteString(kSection, key.c_str(), m_list.At(i - 1).c_str()) && ok;
  }
  return ok;
}

int CIPList::Add(const std::string& text) {
  if (text == "0.0.0.0" || m_list.Find(text) >= 0) return -1;
  return static_cast<int>(m_list.Insert(text));
}

}  // namespace corvane::comm
