#include "settings/meStringArray.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "settings/AsciiText.h"

namespace corvane {

namespace {

using ascii::Lower;

bool LessNoCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(Lower(a[i]));
    const auto cb = static_cast<unsigned char>(Lower(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

}  // namespace

void meStringArray::CheckIndex(int index, int size) const {
  if (index < 0 || index >= size) throw std::invalid_argument("meStringArray: index out of range");
}

const std::string& meStringArray::GetAt(int index) const {
  CheckIndex(index, GetSize());
  return m_items[static_cast<std::size_t>(index)];
}

void meStringArray::SetAt(int index, const std::string& value) {
  CheckIndex(index, GetSize());
  m_items[static_cast<std::size_t>(index)] = value;
}

int meStringArray::Add(const std::string& value) {
  m_items.push_back(value);
  return GetSize() - 1;
}

void meStringArray::InsertAt(int index, const std::string& value) {
  CheckIndex(index, GetSize() + 1);
  m_items.insert(m_items.begin() + index, value);
}

void meStringArray::RemoveAt(int index) {
  CheckIndex(index, GetSize());
  m_items.erase(m_items.begin() + index);
}

void meStringArray::RemoveAll() { m_items.clear(); }

int meStringArray::AddMultiString(const char* multi) {
  if (multi == nullptr) return GetSize();
  do {
    const std::size_t len = std::strlen(multi);
    m_items.emplace_back(multi, len);
    multi += len + 1;
  } while (*multi != '\0');
  return GetSize();
}

int meStringArray::AddMultiString(std::string_view block) {
  std::size_t pos = 0;
  do {
    std::size_t nul = block.find('\0', pos);
    if (nul == std::string_view::npos) nul = block.size();
    m_items.emplace_back(block.substr(pos, nul - pos));
    pos = nul + 1;
  } while (pos < block.size() && block[pos] != '\0');
  return GetSize();
}

const char* meStringArray::GetMultiString() {
  m_multi.clear();
  for (const std::string& item : m_items) {
    m_multi.insert(m_multi.end(), item.begin(), item.end());
    m_multi.push_back('\0');
  }
  m_multi.push_back('\0');
  return m_multi.data();
}

int meStringArray::Find(const std::string& value) const {
  const auto it = std::find(m_items.begin(), m_items.end(), value);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

// Swapping neighbours only when the first is greater is a stable sort; stable_sort
// gives the same order without the quadratic passes.
void meStringArray::SortNoCase() { std::stable_sort(m_items.begin(), m_items.end(), LessNoCase); }

}  // namespace corvane
