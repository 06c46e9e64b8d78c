#pragma once
// The named character entities of HTML 4 (Latin-1, symbols, special characters).
#include <cstddef>
#include <optional>
#include <string_view>

namespace corvane {

class CHtmlEntities {
public:
  static constexpr std::size_t kCount = 252;
  static constexpr std::size_t kMaxNameLength = 8;  // "thetasym"

  // The code point of an entity name (without '&' and ';'), case-sensitive.
  static std::optional<char32_t> Lookup(std::string_view name);
  // Names in sorted order, for tests and tools; empty past the end.
  static std::string_view NameAt(std::size_t index);
};

}  // namespace corvane
