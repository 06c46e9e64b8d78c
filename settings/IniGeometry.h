#pragma once
// The point and rectangle values CIni stores as 8 and 16 byte data blocks.
#include <cstdint>

namespace corvane {

struct IniPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const IniPoint&) const = default;
};

struct IniRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const IniRect&) const = default;
};

}  // namespace corvane
