#pragma once
// The program's own string table, by identifier. Texts are UTF-8; LoadString gives the current
// resource module's text for them (context "Strings"), Find the program's own.
#include <span>
#include <string>

// Marks a text for translation extraction; expands to the text itself in plain C++.
#define CVN_STR(context, text) text

namespace corvane {

struct StringEntry {
  unsigned id;
  const char* text;
};

class CStringTable {
public:
  static constexpr const char* kContext = "Strings";

  // Null when the table has no such string.
  static const char* Find(unsigned id);
  // Empty when the table has no such string.
  static std::string LoadString(unsigned id);
  static std::span<const StringEntry> Entries();
  // The status-bar prompt (before the line break) and the tooltip (after it) of a command.
  static std::string Prompt(unsigned id);
  static std::string Tooltip(unsigned id);
};

inline std::string LoadString(unsigned id) { return CStringTable::LoadString(id); }

}  // namespace corvane
