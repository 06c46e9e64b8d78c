#pragma once
// A list kept in text order like the platform's sorted list boxes: compared case-insensitively
// (ASCII), so "10.0.0.2" comes before "9.0.0.1" and "COM10" before "COM2". Equal texts keep
// their insertion order.
#include <cstddef>
#include <string>
#include <vector>

namespace corvane::comm {

class CTextSortedList {
public:
  static bool Less(const std::string& a, const std::string& b);
  static bool SameText(const std::string& a, const std::string& b);  // whole text, case ignored

  // Where Insert would put the text.
  static std::size_t InsertPosition(const std::vector<std::string>& items, const std::string& text);

  std::size_t Insert(const std::string& text);  // the index it landed on
  int Find(const std::string& text) const;      // whole-text match ignoring case; -1 when none
  bool RemoveAt(int index);                     // false for an index out of range
  void Clear() { m_aItems.clear(); }

  int Count() const { return static_cast<int>(m_aItems.size()); }
  const std::string& At(int index) const { return m_aItems.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Items() const { return m_aItems; }

private:
  std::vector<std::string> m_aItems;
};

}  // namespace corvane::comm
