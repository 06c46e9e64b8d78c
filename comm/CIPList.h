#pragma once
// The user's list of device addresses in "IPList.ini" (section IPList: IPCount, IP1..IPn),
// kept in text order. The file is touched only through Load and Save.
#include <string>

#include "comm/CTextSortedList.h"

namespace corvane::comm {

class CIPList {
public:
  static constexpr const char* kFileName = "IPList.ini";
  static constexpr const char* kSection = "IPList";
  // The count comes from a file anyone can edit; more entries than this are not read.
  static constexpr int kMaxEntries = 4096;

  // The folder exists as a folder afterwards, creating only its last level when missing.
  // False when it cannot be made (its parent is missing, or a file has its name).
  static bool EnsureFolder(const std::string& folder);
  static std::string FilePath(const std::string& folder) { return folder + "/" + kFileName; }

  // Replaces the entries with the file's; a missing key reads as an empty entry.
  void Load(const std::string& iniPath);
  // Removes the whole section, then writes the count and every entry in list order.
  bool Save(const std::string& iniPath) const;

  // Adds the text unless it is already listed (case ignored) or is "0.0.0.0"; its index or -1.
  int Add(const std::string& text);
  bool RemoveAt(int index) { return m_list.RemoveAt(index); }

  int Count() const { return m_list.Count(); }
  const std::string& At(int index) const { return m_list.At(index); }
  const CTextSortedList& Entries() const { return m_list; }

private:
  CTextSortedList m_list;
};

}  // namespace corvane::comm
