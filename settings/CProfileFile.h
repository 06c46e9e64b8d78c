#pragma once
// The private-profile (INI) file service: sections in brackets, key=value lines.
// Section and key names match ignoring ASCII letter case. Every call reads the file;
// every change rewrites it atomically. Comment (;) and unknown lines are kept as
// they are, and a file's CR LF or LF line ends are kept.
#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

class CProfileFile {
public:
  // A larger file reads as empty and refuses writes, so it is never truncated.
  static constexpr std::size_t kMaxFileSize = 64u << 20;

  // The first matching section's first matching key, else def.
  static std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                                const std::string& def);
  // Replaces the value in place, or adds the key at the end of its section, or the
  // section at the end of the file. Fails for a missing folder and for names or a
  // value that would break the line structure (line breaks, NUL, '=' in a key).
  static bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value);
  static bool DeleteKey(const std::string& path, const std::string& section, const std::string& key);
  static bool DeleteSection(const std::string& path, const std::string& section);
  // The section's lines except blanks and comments, trimmed, in file order.
  static std::vector<std::string> ReadSection(const std::string& path, const std::string& section);
  // Replaces the section's lines (adds the section when missing).
  static bool WriteSection(const std::string& path, const std::string& section,
                           const std::vector<std::string>& lines);
  // Each section name once, in file order.
  static std::vector<std::string> ReadSectionNames(const std::string& path);
};

}  // namespace corvane
