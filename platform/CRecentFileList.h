#pragma once
// The most-recently-used file list of the profile store: values "File1".."FileN" of the
// sub-key "Recent File List", newest first.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/CProfileStore.h"

namespace corvane::platform {

class CRecentFileList {
public:
  static constexpr std::size_t kMaxPathLength = 4096;

  explicit CRecentFileList(CProfileStore& store, std::size_t capacity = 4,
                           std::string section = "Recent File List");

  void ReadList();   // replaces the entries with the stored ones
  bool WriteList();  // stores the entries, removing stored ones beyond them

  void Add(const std::string& path);  // to the front; an equal entry moves up
  bool Remove(std::size_t index);

  const std::vector<std::string>& Entries() const { return m_entries; }
  std::size_t Capacity() const { return m_capacity; }

private:
  static std::string ValueName(std::size_t index);  // 0 -> "File1"

  CProfileStore& m_store;
  std::size_t m_capacity;
  std::string m_section;
  std::vector<std::string> m_entries;
};

}  // namespace corvane::platform
