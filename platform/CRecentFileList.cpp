#include "platform/CRecentFileList.h"

#include <algorithm>

namespace corvane::platform {

CRecentFileList::CRecentFileList(CProfileStore& store, std::size_t capacity, std::string section)
    : m_store(store), m_capacity(std::clamp<std::size_t>(capacity, 1, 16)), m_section(std::move(section)) {}

std::string CRecentFileList::ValueName(std::size_t index) { return "File" + std::to_string(index + 1); }

void CRecentFileList::ReadList() {
  m_entries.clear();
  for (std::size_t i = 0; i < m_capacity; ++i) {
    std::string path = m_store.GetProfileString(m_section, ValueName(i));
    // Edited or damaged entries are dropped rather than offered as files.
    if (path.empty() || path.size() > kMaxPathLength) continue;
    if (std::find(m_entries.begin(), m_entries.end(), path) != m_entries.end()) continue;
    m_entries.push_back(std::move(path));
  }
}

bool CRecentFileList::WriteList() {
  bool ok = true;
  for (std::size_t i = 0; i < m_capacity; ++i) {
    if (i < m_entries.size()) {
      ok = m_store.WriteProfileString(m_section, ValueName(i), m_entries[i]) && ok;
    } else {
      m_store.DeleteProfileValue(m_section, ValueName(i));  // absent already is fine
    }
  }
  return ok;
}

void CRecentFileList::Add(const std::string& path) {
  if (path.empty() || path.size() > kMaxPathLength) return;
  auto same = std::find(m_entries.begin(), m_entries.end(), path);
  if (same != m_entries.end()) m_entries.erase(same);
  m_entries.insert(m_entries.begin(), path);
  if (m_entries.size() > m_capacity) m_entries.resize(m_capacity);
}

bool CRecentFileList::Remove(std::size_t index) {
  if (index >= m_entries.size()) return false;
  m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

}  // namespace corvane::platform
