#include "comm/CTextSortedList.h"

#include <algorithm>

namespace corvane::comm {

namespace {

unsigned char Lower(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

bool CTextSortedList::Less(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

bool CTextSortedList::SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::size_t CTextSortedList::InsertPosition(const std::vector<std::string>& items, const std::string& text) {
  return static_cast<std::size_t>(std::upper_bound(items.begin(), items.end(), text, Less) - items.begin());
}

std::size_t CTextSortedList::Insert(const std::string& text) {
  const std::size_t at = InsertPosition(m_aItems, text);
  m_aItems.insert(m_aItems.begin() + static_cast<std::ptrdiff_t>(at), text);
  return at;
}

int CTextSortedList::Find(const std::string& text) const {
  for (std::size_t i = 0; i < m_aItems.size(); ++i)
    if (SameText(m_aItems[i], text)) return static_cast<int>(i);
  return -1;
}

bool CTextSortedList::RemoveAt(int index) {
  if (index < 0 || index >= Count()) return false;
  m_aItems.erase(m_aItems.begin() + index);
  return true;
}

}  // namespace corvane::comm
