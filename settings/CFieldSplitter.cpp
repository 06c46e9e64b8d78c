#include "settings/CFieldSplitter.h"

namespace corvane {

CFieldSplitter::CFieldSplitter(const std::string& separator) : m_strSeparator(separator) {}

int CFieldSplitter::SetString(const std::string& source) {
  m_strSource = source;
  Split();
  return static_cast<int>(m_strSource.size());
}

std::string CFieldSplitter::GetField(int index) const {
  if (index < 0 || index >= m_nCount) return {};
  return m_aFields[static_cast<std::size_t>(index)];
}

void CFieldSplitter::Split() {
  m_nCount = 0;
  if (m_strSource.empty()) return;
  std::size_t pos = 0;
  for (;;) {
    // An empty separator would match everywhere; it leaves the text whole.
    const std::size_t sep = m_strSeparator.empty() ? std::string::npos : m_strSource.find(m_strSeparator, pos);
    const std::size_t end = sep == std::string::npos ? m_strSource.size() : sep;
    if (static_cast<std::size_t>(m_nCount) == m_aFields.size()) m_aFields.emplace_back();
    m_aFields[static_cast<std::size_t>(m_nCount)].assign(m_strSource, pos, end - pos);
    ++m_nCount;
    if (sep == std::string::npos) break;
    pos = sep + 1;
  }
}

}  // namespace corvane
