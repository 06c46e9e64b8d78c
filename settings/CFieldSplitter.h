#pragma once
// Cuts a text into numbered fields at a separator. Empty fields count ("a,,b" gives
// three); after a longer separator the next field starts one character behind its start.
#include <string>
#include <vector>

namespace corvane {

class CFieldSplitter {
public:
  explicit CFieldSplitter(const std::string& separator = ",");

  // Takes effect at the next split.
  void SetSeparator(const std::string& separator) { m_strSeparator = separator; }
  int SetString(const std::string& source);  // length of the source
  int GetCount() const { return m_nCount; }
  std::string GetField(int index) const;  // empty outside 0..count-1

private:
  void Split();

  std::string m_strSource;
  std::vector<std::string> m_aFields;  // reused between splits; only m_nCount are valid
  int m_nCount = 0;
  std::string m_strSeparator;
};

}  // namespace corvane
