#pragma once
// An ordered, index-addressed list of strings. A bad index raises std::invalid_argument.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class meStringArray {
public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int GetCount() const { return GetSize(); }
  bool IsEmpty() const { return m_items.empty(); }
  int GetUpperBound() const { return GetSize() - 1; }

  const std::string& GetAt(int index) const;
  void SetAt(int index, const std::string& value);
  const std::string& operator[](int index) const { return GetAt(index); }
  int Add(const std::string& value);  // index of the new item
  void InsertAt(int index, const std::string& value);  // index may equal the size
  void RemoveAt(int index);
  void RemoveAll();

  // Strings each ended by a zero byte, the list ended by an empty string; the first
  // string is appended even when empty. Returns the new size.
  int AddMultiString(const char* multi);
  // The same, never reading past block: a missing final terminator ends the list.
  int AddMultiString(std::string_view block);
  // Every item followed by a zero byte, then one more; valid until the next call.
  const char* GetMultiString();

  int Find(const std::string& value) const;  // exact match, or -1
  void SortNoCase();                         // ascending, ignoring ASCII letter case, stable

  const std::vector<std::string>& Items() const { return m_items; }
  std::vector<std::string>::const_iterator begin() const { return m_items.begin(); }
  std::vector<std::string>::const_iterator end() const { return m_items.end(); }

private:
  void CheckIndex(int index, int size) const;

  std::vector<std::string> m_items;
  std::vector<char> m_multi;
};

}  // namespace corvane
